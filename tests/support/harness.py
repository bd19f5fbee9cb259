"""Runs the real zentaris binary for the tests and for bench/startup.py: each run in a runtime
directory of its own, on an X server of its own (Xvfb, with evilwm unless told otherwise) when it
needs a window. Keys and clicks go through xdotool; windows, the focus and screenshots through
Xlib; pictures are compared with Pillow and NumPy. Every wait is bounded, every run of the game by
timeout -k 5."""

import functools
import os
import resource
import select
import shutil
import signal
import sqlite3
import subprocess
import tempfile
import time
import unittest

import numpy as np
from PIL import Image
from Xlib import X, display as xlib, error

BUILT = os.path.abspath(os.environ.get("ZENTARIS_RUNTIME_DIR", "build/game"))
LIFETIME = 300  # seconds any one run of the game may live
BOXES = ("Fehlermeldung", "Datei fehlt")  # titles of the game's message boxes
# Each page and where its picture lies; the help page is laid over the others.
PAGES = {"start": ("startpage.bmp", 0, 0), "play": ("baum.bmp", 0, 0),
         "gameover": ("gameover2.bmp", 0, 0), "help": ("helpscreen.bmp", 100, 30)}
TABLE = (530, 400, 260, 20)  # the start page's table of the best three: its first row's text


def until(check, timeout):
    """check()'s first true result, asked every 50 ms until the timeout; its last one then."""
    deadline = time.monotonic() + timeout
    while not (result := check()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return result


def runtime(seed=None):
    """A fresh runtime directory below /tmp: links to the executable and to each built picture,
    sound and font, and score/, holding a table of these (name, score) rows if seeded."""
    rt = tempfile.mkdtemp(prefix="zentaris-rt-")
    shutil.copytree(BUILT, rt, copy_function=os.symlink, dirs_exist_ok=True,
                    ignore=shutil.ignore_patterns("score"))
    os.mkdir(os.path.join(rt, "score"))
    if seed is not None:
        seed_table(rt, seed)
    return rt


def seed_table(rt, rows):
    """Makes the score table, with these (name, score) rows, in score/ of a runtime directory."""
    os.makedirs(os.path.join(rt, "score"), exist_ok=True)
    with sqlite3.connect(os.path.join(rt, "score", "scores.db")) as db:
        db.execute("create table scores (id INTEGER PRIMARY KEY, name TEXT, "
                   "score INTEGER DEFAULT 0)")
        db.executemany("insert into scores(name, score) values (?, ?)", rows)
    db.close()


def scores(rt):
    """(name, score) of every game stored in a runtime directory, oldest first."""
    with sqlite3.connect(f"file:{rt}/score/scores.db?mode=ro", uri=True) as db:
        rows = db.execute("select name, score from scores order by id").fetchall()
    db.close()
    return rows


def base_env():
    """This environment without a display, SDL settings or a player's data directory, sound
    going to SDL's dummy driver. SDL drops a click that comes in one batch with its window's
    focus; a player is never that quick, but the tests take the focus just before they click."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("SDL_") and k not in ("DISPLAY", "XDG_DATA_HOME")}
    return dict(env, SDL_AUDIODRIVER="dummy", SDL_MOUSE_FOCUS_CLICKTHROUGH="1")


@functools.lru_cache(maxsize=None)
def picture(name):
    """One of the game's built pictures, as rows of (red, green, blue)."""
    with Image.open(os.path.join(BUILT, "ImgData", name)) as image:
        return np.asarray(image.convert("RGB"), np.int16)


def likeness(view, expected, x=0, y=0):
    """Share of the pixels of a picture (rows of red, green, blue), but those of its key colour,
    that the view shows alike at (x, y)."""
    h, w = expected.shape[:2]
    alike = abs(view[y:y + h, x:x + w] - expected).max(axis=2) <= 24
    return alike[(expected != (255, 0, 255)).any(axis=2)].mean()


def table_rows(view):
    """For each of the table's three rows, where it has white text, one byte a pixel."""
    x, y, w, h = TABLE
    return [(view[y + k * h:y + k * h + h, x:x + w] == 255).all(axis=2).tobytes()
            for k in range(3)]


class Display:
    """An Xvfb server of the given size with a black root, with evilwm unless wm is False (without
    a window manager a full-screen window stays 1 x 1). Both write to this process's standard
    error, so a failure to start is told there."""

    def __init__(self, size=(800, 600)):
        self.size, self.procs, self.x = size, [], None

    def start(self, wm=True):
        for _ in range(3):  # two servers starting at once may try the same number
            read, write = os.pipe()
            self.procs.append(subprocess.Popen(
                ["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-noreset", "-br",
                 "-screen", "0", "%dx%dx24" % self.size], pass_fds=(write,)))
            os.close(write)
            with os.fdopen(read) as pipe:
                number = select.select([pipe], [], [], 20)[0] and pipe.readline().strip()
            if number:
                break
        self.env = dict(base_env(), DISPLAY=f":{number}")
        self.x = xlib.Display(self.env["DISPLAY"])
        self.root, self.name = self.x.screen().root, self.x.intern_atom("_NET_WM_NAME")
        if wm:
            # Up once it redirects the root's windows and names itself as SDL checks for.
            self.procs.append(subprocess.Popen(["evilwm", "-fn", "fixed"], env=self.env))
            check = self.x.intern_atom("_NET_SUPPORTING_WM_CHECK")
            if not until(lambda: self.procs[-1].poll() is None and self.root.get_full_property(
                    check, X.AnyPropertyType) and self.root.get_attributes().all_event_masks
                    & X.SubstructureRedirectMask, 10):
                raise RuntimeError("evilwm is not up")

    def close(self):
        if self.x:
            self.x.close()
        for proc in reversed(self.procs):
            proc.kill()
            proc.wait()

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, capture_output=True, timeout=60)

    def windows(self, *titles):
        """{window: title} of the windows on the screen named one of the titles."""
        found, todo = {}, [self.root]
        while todo:
            window = todo.pop()
            try:
                todo += window.query_tree().children
                title = window.get_full_property(self.name, 0)  # as SDL sets it, UTF-8
                if title and title.value.decode() in titles and \
                        window.get_attributes().map_state == X.IsViewable:
                    found[window] = title.value.decode()
            except error.XError:  # gone in the meantime
                pass
        return found

    def place(self, window):
        """(x, y, width, height) of a window on the screen; None when there is none."""
        if window is None:
            return None
        try:
            at, size = self.root.translate_coords(window, 0, 0), window.get_geometry()
            return (at.x, at.y, size.width, size.height)
        except error.XError:  # gone in the meantime
            return None

    def shot(self):
        """The whole screen as an RGB picture."""
        image = self.root.get_image(0, 0, *self.size, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", self.size, image.data, "raw", "BGRX")


class Run:
    """One run of the game in runtime directory rt, on a display or with none, its resource
    limits set to the (resource, value) pairs in limits."""

    def __init__(self, rt, display=None, args=(), env=None, limits=()):
        self.display, self.boxes, self.out, self.err = display, [], "", ""
        self.proc = subprocess.Popen(
            ["timeout", "-k", "5", str(LIFETIME), "./zentaris", *args], cwd=rt,
            env=env or (display.env if display else base_env()), stdout=subprocess.PIPE,
            stderr=subprocess.PIPE, text=True, start_new_session=True,
            preexec_fn=lambda: [resource.setrlimit(r, (v, v)) for r, v in limits])

    def running(self):
        return self.proc.poll() is None

    def kill(self):
        if self.running():
            os.killpg(self.proc.pid, signal.SIGKILL)
        return self.finish()

    def finish(self, timeout=30):
        """Waits for the end, closing each message box that holds it up; the exit status."""
        deadline, boxes = time.monotonic() + timeout, {}
        while self.running() and time.monotonic() < deadline:
            shown = self.display.windows(*BOXES) if self.display else {}
            boxes.update(shown)
            for box in shown:
                self.display.xdotool("key", "--window", str(box.id), "Return")
            time.sleep(0.1)
        if self.running():
            os.killpg(self.proc.pid, signal.SIGKILL)
            raise AssertionError(f"the game still ran after {timeout} s")
        if not self.proc.stdout.closed:  # else the end was seen already
            self.out, self.err = self.proc.communicate()
            self.boxes = list(boxes.values())
        return self.proc.returncode

    def window(self):
        """The game's window; SDL may make one and replace it, so the last one made."""
        return max(self.display.windows("Zentaris"), key=lambda w: w.id, default=None)

    def view(self, shot):
        """The game's image on a screenshot, at its own size, as rows of (red, green, blue);
        while SDL replaces its window, the screen's top left corner."""
        x, y, w, h = self.display.place(self.window()) or (0, 0, 800, 600)
        width, height = min(w, h * 4 // 3), min(h, w * 3 // 4)  # as large as fits, centred
        x, y = x + (w - width) // 2, y + (h - height) // 2
        return np.asarray(shot.crop((x, y, x + width, y + height)).resize((800, 600)), np.int16)

    def focus(self):
        """Gives the game's window the keyboard focus, as a click would; returns once the server
        has moved it there."""
        def held():
            window, x = self.window(), self.display.x
            x.set_input_focus(window or X.NONE, X.RevertToParent, X.CurrentTime,
                              onerror=error.CatchError())
            return window and x.get_input_focus().focus == window
        if not until(held, 10):
            raise AssertionError("the game's window does not take the focus")

    def key(self, *keys):
        self.focus()
        self.display.xdotool("key", "--delay", "20", *keys)

    def click(self, x, y):
        """A left click at (x, y) in the game's window."""
        self.focus()
        self.display.xdotool("mousemove", "--sync", "--window", str(self.window().id), str(x),
                             str(y), "click", "1")


class Case(unittest.TestCase):
    """Tests of the real binary: runtime directories, displays, runs and what the screen shows."""

    def runtime(self, seed=None):
        rt = runtime(seed)
        self.addCleanup(shutil.rmtree, rt, True)
        return rt

    def display(self, size=(800, 600), wm=True):
        display = Display(size)
        self.addCleanup(display.close)
        display.start(wm)
        return display

    def game(self, rt, display=None, args=(), env=None, limits=()):
        run = Run(rt, display, args, env, limits)
        self.addCleanup(run.kill)
        return run

    def immutable(self, path):
        """Makes a file unchangeable even for root, for the rest of the test."""
        subprocess.run(["chattr", "+i", path], check=True)
        self.addCleanup(subprocess.run, ["chattr", "-i", path])

    def start(self, display, rt, args=(), size=None, env=None, limits=()):
        """Starts the game and waits until its window has the given size (by default it covers the
        whole screen); the run."""
        run = self.game(rt, display, args, env, limits)
        want = (0, 0, *display.size)

        def sized():
            place = display.place(run.window())
            return not run.running() or place and (place[2:] == size or place == want)
        if not (until(sized, 20) and run.running()):
            self.fail(f"the window is at {display.place(run.window())}, not {size or want} "
                      f"(status {run.kill()}, boxes {run.boxes}); stderr:\n{run.err}")
        return run

    def see(self, run, what, predicate, timeout=20):
        """Screenshots until predicate(screenshot) holds; that screenshot."""
        def seen():
            shot = run.display.shot()
            return predicate(shot) and shot
        shot = until(lambda: not run.running() or seen(), timeout)
        if not run.running():
            self.fail(f"the game ended (status {run.finish()}) before the {what}; "
                      f"stderr:\n{run.err}")
        if not shot:
            path = os.path.join(tempfile.mkdtemp(prefix="zentaris-shot-"), "last.png")
            run.display.shot().save(path)
            self.fail(f"no {what} within {timeout} s (last screenshot {path}, status {run.kill()}"
                      f"); stderr:\n{run.err}")
        return shot

    def page(self, run, name, timeout=20):
        """Waits until the screen shows the page `name` (one of PAGES) on top."""
        def shown(shot):
            view = run.view(shot)
            shares = {page: likeness(view, picture(file), x, y)
                      for page, (file, x, y) in PAGES.items()}
            return max(shares, key=shares.get) == name and shares[name] >= 0.5
        return self.see(run, f"{name} page", shown, timeout)
