"""Runs the real zentaris binary for the tests and for bench/startup.py: each run in a runtime
directory of its own, on an X server of its own (Xvfb with evilwm) when it needs a window. Keys
and clicks go through xdotool; windows, the focus and screenshots through Xlib; pictures are
compared with Pillow and NumPy. Every wait is bounded, every run of the game by timeout -k 5."""

import os
import shutil
import sqlite3
import subprocess
import tempfile
import time
import unittest

import numpy as np
from PIL import Image
from Xlib import X, display as xlib, error

BUILT = os.path.abspath(os.environ.get("ZENTARIS_RUNTIME_DIR", "build/game"))
# This environment without a display, SDL settings or a player's data directory; sound goes to
# SDL's dummy driver. SDL drops a click that comes in one batch with its window's focus: a player
# is never that quick, but the tests take the focus just before they click.
ENV = dict({k: v for k, v in os.environ.items()
            if not k.startswith("SDL_") and k not in ("DISPLAY", "XDG_DATA_HOME")},
           SDL_AUDIODRIVER="dummy", SDL_MOUSE_FOCUS_CLICKTHROUGH="1")
# Each page: its picture and where that lies; the help page is laid over the others.
PAGES = {"start": ("startpage.bmp", 0, 0), "play": ("baum.bmp", 0, 0),
         "gameover": ("gameover2.bmp", 0, 0), "help": ("helpscreen.bmp", 100, 30)}
# Keys that type each answer from 1 to 10 and send it: in divisions of factors up to 10, one of
# them solves any apple.
ANSWERS = [key for n in range(1, 11) for key in (*str(n), "space")]


def until(check, timeout):
    """check()'s first true result, asked every 50 ms until the timeout; its last one then."""
    deadline = time.monotonic() + timeout
    while not (result := check()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return result


def runtime(rt):
    """Makes rt a runtime directory: links to the executable and the built assets, an empty
    score/."""
    shutil.copytree(BUILT, rt, os.symlink, shutil.ignore_patterns("score"), dirs_exist_ok=True)
    os.mkdir(rt + "/score")
    return rt


def scores(directory):
    """(name, score) of every game stored in score/ of a directory, oldest first."""
    with sqlite3.connect(f"file:{directory}/score/scores.db?mode=ro", uri=True) as db:
        return db.execute("select name, score from scores order by id").fetchall()


def picture(name):
    """One of the built pictures, as rows of (red, green, blue)."""
    return np.asarray(Image.open(f"{BUILT}/ImgData/{name}").convert("RGB"), np.int16)


def likeness(view, expected, x=0, y=0):
    """Share of a picture's pixels, but those of its key colour, that the view shows at (x, y)."""
    h, w = expected.shape[:2]
    alike = abs(view[y:y + h, x:x + w] - expected).max(axis=2) <= 24
    return alike[(expected != (255, 0, 255)).any(axis=2)].mean()


class Display:
    """An Xvfb server of this size with evilwm, without which a full-screen window stays 1 x 1.
    Both tell a failure to start on standard error."""

    def __init__(self, size=(800, 600)):
        self.size = size
        self.procs = []

    def start(self):
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-br", "-screen", "0",
                                 "%dx%dx24" % self.size], stdout=subprocess.PIPE, text=True)
        self.procs.append(xvfb)
        self.env = dict(ENV, DISPLAY=":" + xvfb.stdout.readline().strip())
        self.x = xlib.Display(self.env["DISPLAY"])
        root = self.root = self.x.screen().root
        self.procs.append(subprocess.Popen(["evilwm", "-fn", "fixed"], env=self.env))
        # Up once it redirects the root's windows and names itself, as SDL checks for.
        check = self.x.intern_atom("_NET_SUPPORTING_WM_CHECK")
        if not until(lambda: root.get_full_property(check, X.AnyPropertyType) and
                     root.get_attributes().all_event_masks & X.SubstructureRedirectMask, 10):
            raise RuntimeError("evilwm is not up")

    def close(self):
        for proc in self.procs:
            with proc:  # waits for its end
                proc.kill()

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=60).stdout

    def windows(self, *titles):
        """The windows in sight titled one of these, as SDL titles them (UTF-8)."""
        found = []
        todo = [self.root]
        name = self.x.intern_atom("_NET_WM_NAME")
        while todo:
            window = todo.pop()
            try:
                todo += window.query_tree().children
                title = window.get_full_property(name, 0)
                if title and title.value.decode() in titles and \
                        window.get_attributes().map_state == X.IsViewable:
                    found.append(window)
            except error.XError:  # gone in the meantime
                pass
        return found

    def shot(self):
        """The whole screen as an RGB picture."""
        image = self.root.get_image(0, 0, *self.size, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", self.size, image.data, "raw", "BGRX")


class Run:
    """One run of the game in runtime directory rt, on a display or none, under the resource
    limits given as options of prlimit."""

    def __init__(self, rt, display=None, args=(), env=None, limits=()):
        self.display = display
        self.proc = subprocess.Popen(
            ["prlimit", *limits, "timeout", "-k", "5", "300", "./zentaris", *args], cwd=rt,
            env=env or getattr(display, "env", ENV), stdout=subprocess.PIPE,
            stderr=subprocess.PIPE, text=True, start_new_session=True)

    def finish(self, timeout=30):
        """The exit status, once the game ends; each message box that holds it up is closed.
        After the timeout the game is killed."""
        def ended():
            for box in self.display.windows("Fehlermeldung", "Datei fehlt") if self.display else ():
                self.display.xdotool("key", "--window", str(box.id), "Return")
            return self.proc.poll() is not None
        until(ended, timeout)
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, 9)
        self.out, self.err = self.proc.communicate()
        return self.proc.returncode

    def window(self):
        """The game's window; SDL may make one and replace it, so the last one made."""
        return max(self.display.windows("Zentaris"), key=lambda w: w.id, default=None)

    def place(self):
        """(x, y, width, height) of the game's window on the screen; () while it has none."""
        window = self.window()
        if not window:
            return ()
        try:
            at = self.display.root.translate_coords(window, 0, 0)
            size = window.get_geometry()
            return (at.x, at.y, size.width, size.height)
        except error.XError:  # gone in the meantime
            return ()

    def view(self, shot):
        """The game's image on a screenshot, at its own size, as rows of (red, green, blue);
        while SDL replaces its window, the screen's top left corner."""
        x, y, w, h = self.place() or (0, 0, 800, 600)
        scale = min(w / 800, h / 600)  # as large as fits, centred
        x += (w - 800 * scale) / 2
        y += (h - 600 * scale) / 2
        return np.asarray(shot.resize((800, 600), box=(x, y, x + 800 * scale, y + 600 * scale)),
                          np.int16)

    def xdotool(self, *args):
        """Gives the game's window the keyboard focus, as a click would, and once the server has
        moved it there, runs xdotool with these arguments: keys and clicks reach the game."""
        x = self.display.x

        def held():
            window = self.window()
            x.set_input_focus(window or X.NONE, X.RevertToParent, X.CurrentTime,
                              onerror=error.CatchError())
            return window and x.get_input_focus().focus == window
        if not until(held, 10):
            raise AssertionError("the game's window does not take the focus")
        self.display.xdotool(*args)

    def key(self, *keys):
        self.xdotool("key", "--delay", "20", *keys)


class Case(unittest.TestCase):
    """Tests of the real binary: runtime directories, displays, runs and what the screen shows."""

    def directory(self):
        """An empty directory of this test's own."""
        path = tempfile.mkdtemp(prefix="zentaris-")
        self.addCleanup(shutil.rmtree, path, True)
        return path

    def runtime(self):
        return runtime(self.directory())

    def display(self, size=(800, 600)):
        display = Display(size)
        self.addCleanup(display.close)
        display.start()
        return display

    def game(self, rt, display=None, **options):
        run = Run(rt, display, **options)
        self.addCleanup(run.finish, 0)
        return run

    def start(self, display, rt, size=None, **options):
        """The game, once its window has this size (by default the screen's) and shows the start
        page."""
        run = self.game(rt, display, **options)
        size = size or display.size
        self.see(run, f"window of {size}", lambda _: run.place()[2:] == size)
        self.page(run, "start")
        return run

    def see(self, run, what, predicate, timeout=20):
        """The first screenshot on which predicate holds."""
        shot = until(lambda: run.proc.poll() is not None or predicate(s := run.display.shot())
                     and s, timeout)
        if not isinstance(shot, Image.Image):
            path = tempfile.mkstemp(".png", "zentaris-")[1]
            run.display.shot().save(path)
            self.fail(f"no {what} within {timeout} s, last screenshot {path}; status "
                      f"{run.finish(0)}, stderr:\n{run.err}")
        return shot

    def page(self, run, name, timeout=20):
        """The first screenshot that shows the page `name` (one of PAGES) on top: most of its
        picture, more than any other page shows of it."""
        file, x, y = PAGES[name]
        return self.see(run, name + " page",
                        lambda shot: likeness(run.view(shot), picture(file), x, y) > 0.6, timeout)
