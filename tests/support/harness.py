"""Runs the real zentaris binary for the tests: each run in a runtime directory of its own, on
an X server of its own (Xvfb with evilwm) when it needs a window; keys and clicks through
xdotool, screenshots through xwd, the score database through Python's sqlite3. Every wait is
bounded and every run of the game is bounded by timeout -k 5."""

import concurrent.futures
import functools
import os
import select
import shutil
import signal
import sqlite3
import struct
import subprocess
import tempfile
import time
import unittest

BUILT = os.path.abspath(os.environ["ZENTARIS_RUNTIME_DIR"])
LIFETIME = 300  # seconds any one run of the game may live
BOXES = ("Fehlermeldung", "Datei fehlt")  # titles of the game's message boxes
PAGES = {"start": "startpage.bmp", "play": "baum.bmp", "gameover": "gameover2.bmp"}
LOGICAL = (800, 600)  # the game draws this image, scaled to its window
KEY = (255, 0, 255)  # the colour key of the game's bitmaps


def stop(proc):
    if proc.poll() is None:
        proc.kill()
    proc.wait()


def in_parallel(*calls):
    """Runs the calls at the same time, each on a thread of its own; their results, or the
    first failure."""
    with concurrent.futures.ThreadPoolExecutor(len(calls)) as pool:
        futures = [pool.submit(call) for call in calls]
    return [future.result() for future in futures]


def take_turns(case, work, items, servers=2, **display):
    """work(display, item) for every item, the items dealt out to X servers that run side by
    side; {item: result}."""
    displays = [Display(case, **display) for _ in range(servers)]

    def share(k):
        return {item: work(displays[k], item) for item in items[k::servers]}
    parts = in_parallel(*(functools.partial(share, k) for k in range(servers)))
    return {item: result for part in parts for item, result in part.items()}


class Picture:
    """Three bytes a pixel (red, green, blue), row by row from the top."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, bytes(rgb)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, x, y, w, h):
        row = self.width * 3
        return b"".join(self.rgb[(y + r) * row + x * 3:(y + r) * row + (x + w) * 3]
                        for r in range(h))


@functools.lru_cache(maxsize=None)
def bitmap(name):
    """One of the game's bitmaps (24 bits a pixel, rows stored from the bottom)."""
    with open(os.path.join(BUILT, "ImgData", name), "rb") as f:
        raw = f.read()
    start, = struct.unpack_from("<I", raw, 10)
    width, height = struct.unpack_from("<ii", raw, 18)
    stride = (width * 3 + 3) & ~3
    rows = [raw[start + r * stride:start + r * stride + width * 3] for r in range(height)]
    bgr = b"".join(reversed(rows))
    rgb = bytearray(len(bgr))
    rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
    return Picture(width, height, rgb)


def full_screen_place(width, height):
    """(x, y, w, h) of the logical image on a full screen: as large as fits, centred."""
    if width * LOGICAL[1] >= height * LOGICAL[0]:
        w = height * LOGICAL[0] / LOGICAL[1]
        return (int((width - w) / 2), 0, w, height)
    h = width * LOGICAL[1] / LOGICAL[0]
    return (0, int((height - h) / 2), width, h)


def on_screen(place, x, y, w=0, h=0):
    """The logical box (x, y, w, h) in screen pixels, when the logical image lies at place."""
    sx, sy = place[2] / LOGICAL[0], place[3] / LOGICAL[1]
    return (place[0] + int(x * sx), place[1] + int(y * sy), int(w * sx), int(h * sy))


def likeness(shot, picture, place, at=(0, 0)):
    """Share of sample points of `picture`, drawn at logical position `at`, that the screen
    shows in about the same colour; `place` is where the logical image lies on the screen.
    Points of the key colour are skipped."""
    same = total = 0
    for ly in range(3, picture.height, 11):
        for lx in range(3, picture.width, 11):
            colour = picture.pixel(lx, ly)
            if colour == KEY:
                continue
            total += 1
            screen = shot.pixel(*on_screen(place, at[0] + lx + 0.5, at[1] + ly + 0.5)[:2])
            same += all(abs(a - b) <= 24 for a, b in zip(colour, screen))
    return same / total


class Run:
    """One run of the game in `rt`, on `display` or with no display at all."""

    def __init__(self, case, rt, display=None, args=(), env=None):
        self.display, self.boxes, self.out, self.err = display, [], "", ""
        if env is None:
            env = display.env if display else bare_env()
        self.proc = subprocess.Popen(
            ["timeout", "-k", "5", str(LIFETIME), "./zentaris", *args], cwd=rt, env=env,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)
        case.addCleanup(self.kill)
        self.case = case

    def running(self):
        return self.proc.poll() is None

    def kill(self, sig=signal.SIGKILL):
        if self.running():
            os.killpg(self.proc.pid, sig)
        return self.finish()

    def finish(self, timeout=30):
        """Waits for the end, closing each message box that blocks it; the exit status."""
        if self.proc.stdout.closed:  # the end was seen already
            return self.proc.returncode
        deadline, seen = time.time() + timeout, set()
        while self.running() and time.time() < deadline:
            for title, wid in self.display.windows(BOXES) if self.display else ():
                if wid not in seen:
                    seen.add(wid)
                    self.boxes.append(title)
                self.display.xdotool("key", "--window", wid, "Return")
            try:
                self.proc.wait(0.1)
            except subprocess.TimeoutExpired:
                pass
        if self.running():
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.case.fail(f"the game still ran after {timeout} s")
        out, err = self.proc.communicate()
        self.out, self.err = self.out + out, self.err + err
        return self.proc.returncode


def bare_env():
    """This environment without a display or SDL settings; sound goes to SDL's dummy driver."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("SDL_") and k != "DISPLAY"}
    return dict(env, SDL_AUDIODRIVER="dummy")


class Display:
    """An Xvfb server of the given size, with evilwm unless wm is False (without a window
    manager a full-screen window stays 1 x 1). Fails the test at once when either is not up."""

    def __init__(self, case, size=(800, 600), wm=True):
        self.case, self.size = case, size
        self.place = full_screen_place(*size)
        log = tempfile.TemporaryFile()
        case.addCleanup(log.close)
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                                 "-noreset", "-screen", "0", "%dx%dx24" % size],
                                pass_fds=(write_end,), stdout=log, stderr=log)
        os.close(write_end)
        case.addCleanup(stop, xvfb)
        number, deadline = b"", time.time() + 20
        while not number.endswith(b"\n") and \
                select.select([read_end], [], [], max(0, deadline - time.time()))[0]:
            chunk = os.read(read_end, 16)
            number += chunk
            if not chunk:
                break
        os.close(read_end)
        if not number.endswith(b"\n"):
            stop(xvfb)
            log.seek(0)
            case.fail("Xvfb is not up: " + log.read().decode(errors="replace"))
        self.env = dict(bare_env(), DISPLAY=":" + number.decode().strip())
        if wm:
            log = tempfile.TemporaryFile()
            case.addCleanup(log.close)
            evilwm = subprocess.Popen(["evilwm", "-fn", "fixed"], env=self.env,
                                      stdout=log, stderr=log)
            case.addCleanup(stop, evilwm)
            deadline = time.time() + 10
            while evilwm.poll() is None and time.time() < deadline and "window id" not in \
                    self.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"):
                time.sleep(0.05)
            time.sleep(0.2)
            if evilwm.poll() is not None:
                log.seek(0)
                case.fail("the window manager is not running: " + log.read().decode())

    def tool(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True,
                              timeout=60).stdout

    def xdotool(self, *args):
        return self.tool("xdotool", *args)

    def key(self, *keys):
        self.xdotool("key", "--delay", "10", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "40", text)

    def click(self, wid, x, y):
        """A click at (x, y) in the window, as a player makes it: the window has had the focus for
        a moment. SDL drops a click that comes within 10 ms of its window getting the focus (the
        click that only brings a window forward), and moving the pointer is what gives the focus
        under evilwm; a click straight after that move is sometimes lost."""
        self.xdotool("mousemove", "--window", wid, str(x), str(y))
        self.xdotool("windowfocus", "--sync", wid)
        time.sleep(0.2)  # the game takes the focus in with its next frame
        self.xdotool("click", "1")

    def windows(self, titles):
        """(title, id) of each window named exactly one of the titles."""
        found = []
        for title in titles:
            for line in self.tool("xwininfo", "-name", title).splitlines():
                if "Window id:" in line:
                    found.append((title, line.split()[3]))
        return found

    def geometry(self, wid):
        """(x, y, width, height) of a window on the screen, None when it is gone."""
        info = dict(line.strip().split(": ", 1) for line in
                    self.tool("xwininfo", "-id", wid).splitlines() if ": " in line)
        keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        return tuple(int(info[k]) for k in keys) if keys[0] in info else None

    def shot(self):
        """The whole screen, read from xwd's dump of a 24-bit screen (3 or 4 bytes a pixel)."""
        for _ in range(3):  # a window that goes away during the dump makes xwd fail
            done = subprocess.run(["xwd", "-root", "-silent"], env=self.env,
                                  capture_output=True, timeout=30)
            if done.returncode == 0:
                break
        else:
            self.case.fail("xwd failed: " + done.stderr.decode(errors="replace"))
        raw = done.stdout
        head = struct.unpack(">25I", raw[:100])
        width, height, size, line = head[4], head[5], head[11] // 8, head[12]
        if head[3] != 24 or size not in (3, 4):
            self.case.fail(f"xwd wrote depth {head[3]} in {head[11]} bits a pixel")
        data = raw[head[0] + 12 * head[19]:]
        data = b"".join(data[r * line:r * line + width * size] for r in range(height))
        rgb = bytearray(width * height * 3)
        for c in range(3):  # least significant byte first: blue, green, red
            rgb[c::3] = data[2 - c if head[7] == 0 else size - 3 + c::size]
        return Picture(width, height, rgb)


class Case(unittest.TestCase):
    """Tests of the real binary: runtime directories, displays, runs and what the screen shows."""

    def runtime(self, seed=None):
        """A fresh runtime directory: a copy of the executable, ImgData/, Sound/ and fonts/ of
        links to the built assets, and score/, with a table of (name, score) rows if seeded."""
        rt = tempfile.mkdtemp(prefix="zentaris-rt-")
        self.addCleanup(shutil.rmtree, rt, True)
        shutil.copy2(os.path.join(BUILT, "zentaris"), rt)
        for sub in ("ImgData", "Sound", "fonts"):
            os.mkdir(os.path.join(rt, sub))
            for name in os.listdir(os.path.join(BUILT, sub)):
                os.symlink(os.path.join(BUILT, sub, name), os.path.join(rt, sub, name))
        os.mkdir(os.path.join(rt, "score"))
        if seed is not None:
            seed_table(rt, seed)
        return rt

    def immutable(self, path):
        """Makes a file or directory unchangeable even for root, for the rest of the test."""
        done = subprocess.run(["chattr", "+i", path], capture_output=True, text=True)
        self.assertEqual(done.returncode, 0, f"chattr +i {path}: {done.stderr}")
        self.addCleanup(subprocess.run, ["chattr", "-i", path])

    def start(self, display, rt, args=(), size=None, env=None):
        """Starts the game on a display and waits until its window has the given size (by
        default it covers the whole screen). Returns the run, the window's id set on it."""
        run = Run(self, rt, display, args, env)
        deadline, want, seen = time.time() + 20, size or display.size, None
        while time.time() < deadline and run.running():
            for _, wid in display.windows(["Zentaris"]):
                seen = display.geometry(wid)
                if seen and seen[2:] == want and (size or seen[:2] == (0, 0)):
                    run.wid, run.geometry = wid, seen
                    return run
            time.sleep(0.1)
        status = run.kill()
        where = "" if size else " at (0, 0), covering the screen"
        self.fail(f"the game's window is {seen}, not of size {want}{where} (status {status}, "
                  f"boxes {run.boxes}); stderr:\n{run.err}")

    def see(self, run, what, predicate, timeout=20):
        """Screenshots until predicate(shot) holds; that shot."""
        deadline = time.time() + timeout
        while run.running():
            shot = run.display.shot()
            if predicate(shot):
                return shot
            if time.time() > deadline:
                path = os.path.join(tempfile.mkdtemp(prefix="zentaris-shot-"), "last.ppm")
                with open(path, "wb") as f:
                    f.write(b"P6 %d %d 255\n" % (shot.width, shot.height) + shot.rgb)
                run.kill()
                self.fail(f"no {what} within {timeout} s (last screenshot {path}); "
                          f"stderr:\n{run.err}")
            time.sleep(0.2)
        self.fail(f"the game ended (status {run.finish()}) before {what}; stderr:\n{run.err}")

    def page(self, run, name, place=None, timeout=20):
        """Waits until the screen shows the page `name` ("start", "play", "gameover")."""
        pictures = {key: bitmap(value) for key, value in PAGES.items()}
        place = place or run.display.place

        def shown(shot):
            shares = {key: likeness(shot, p, place) for key, p in pictures.items()}
            return max(shares, key=shares.get) == name and shares[name] >= 0.5
        return self.see(run, f"{name} page", shown, timeout)

    def help_shown(self, run):
        helpscreen = bitmap("helpscreen.bmp")
        return self.see(run, "help page", lambda shot: likeness(
            shot, helpscreen, run.display.place, at=(100, 30)) >= 0.9)


def seed_table(rt, rows):
    """Makes the score table in score/ of a runtime directory, with these (name, score) rows."""
    with sqlite3.connect(os.path.join(rt, "score", "scores.db")) as db:
        db.execute("create table scores (id INTEGER PRIMARY KEY, name TEXT, "
                   "score INTEGER DEFAULT 0)")
        db.executemany("insert into scores(name, score) values (?, ?)", rows)
    db.close()


def query(rt, statement):
    """The rows a statement yields on the score database of a runtime directory, read-only."""
    with sqlite3.connect(f"file:{rt}/score/scores.db?mode=ro", uri=True) as db:
        rows = db.execute(statement).fetchall()
    db.close()
    return rows


def scores(rt):
    """(name, score) of every stored game, oldest first."""
    return query(rt, "select name, score from scores order by id")
