"""Runs the real zentaris binary for the tests and for bench/startup.py: each run in a runtime
directory of its own, on an X server of its own (Xvfb with evilwm) when it needs a window. Keys,
clicks, windows and the focus go through xdotool, screenshots through Xlib; pictures are
compared with Pillow and NumPy. Every wait is bounded, every run of the game by timeout -k 5."""

import os
import shutil
import sqlite3
import subprocess
import tempfile
import time
import unittest

import numpy as np
from PIL import Image, ImageOps
from Xlib import X, display as xlib

BUILT = os.path.abspath(os.environ.get("ZENTARIS_RUNTIME_DIR", "build/game"))
# This environment without SDL settings or a player's home and data directory; sound goes to
# SDL's dummy driver. SDL drops a click that comes in one batch with its window's focus: a player
# is never that quick, but the tests take the focus just before they click.
ENV = dict({k: v for k, v in os.environ.items()
            if k[:4] != "SDL_" and k not in ("HOME", "XDG_DATA_HOME")},
           SDL_AUDIODRIVER="dummy", SDL_MOUSE_FOCUS_CLICKTHROUGH="1")
# Each page: its picture and where that lies; the help page is laid over the others.
PAGES = {"start": ("startpage.bmp", 0, 0), "play": ("baum.bmp", 0, 0),
         "gameover": ("gameover2.bmp", 0, 0), "help": ("helpscreen.bmp", 100, 30)}
# Keys that type each answer from 1 to 10 and send it: in divisions of factors up to 10, one of
# them solves any apple.
ANSWERS = ("1 space 2 space 3 space 4 space 5 space 6 space 7 space 8 space 9 space "
           "1 0 space").split()


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
    os.mkdir(f"{rt}/score")
    return rt


def scores(directory):
    """(name, score) of every game stored in score/ of a directory, oldest first."""
    with sqlite3.connect(f"{directory}/score/scores.db") as db:
        return db.execute("select name, score from scores order by id").fetchall()


def picture(path):
    """A picture file as rows of (red, green, blue)."""
    return np.asarray(Image.open(path).convert("RGB"), np.int16)


def likeness(view, expected, x, y):
    """Share of a picture's pixels, but those of its key colour, that the view shows at (x, y)."""
    seen = view[y:y + len(expected), x:x + len(expected[0])]
    return (abs(seen - expected).max(2) <= 24)[(expected != (255, 0, 255)).any(2)].mean()


class Display:
    """An Xvfb server with evilwm, without which a full-screen window stays 1 x 1. Both tell a
    failure to start on standard error."""

    procs = ()  # none before the start

    def start(self, size=(800, 600)):
        self.size = size
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-br", "-screen", "0",
                                 "%dx%dx24" % size], stdout=subprocess.PIPE)
        self.procs = [xvfb]
        name = ":%d" % int(xvfb.stdout.readline())
        self.env = dict(ENV, DISPLAY=name)
        self.procs.append(subprocess.Popen(["evilwm", "-fn", "fixed"], env=self.env))
        x = xlib.Display(name)
        self.root = x.screen().root
        # Up once it names itself, as SDL checks for; it has taken over the root's windows then.
        check = x.intern_atom("_NET_SUPPORTING_WM_CHECK")
        if not until(lambda: self.root.get_full_property(check, X.AnyPropertyType), 10):
            raise RuntimeError("evilwm is not up")

    def close(self):
        for proc in self.procs:
            with proc:  # waits for its end
                proc.kill()

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=60).stdout

    def shot(self):
        """The whole screen as an RGB picture."""
        image = self.root.get_image(0, 0, *self.size, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", self.size, image.data, "raw", "BGRX")


class Run:
    """One run of the game in runtime directory rt, on a display or none, with these arguments,
    under the resource limits given as options of prlimit, with these further environment
    variables. What it shows is waited for; a test fails when it does not come."""

    def __init__(self, rt, display=None, args=(), limits=(), **env):
        self.display = display
        self.proc = subprocess.Popen(
            ["prlimit", *limits, "timeout", "-k", "5", "300", "./zentaris", *args], cwd=rt,
            env=dict(getattr(display, "env", ENV), **env), stdout=subprocess.PIPE,
            stderr=subprocess.PIPE, text=True, start_new_session=True)

    def finish(self, timeout=30):
        """The exit status, once the game ends; each message box that holds it up is closed.
        After the timeout the game is killed."""
        def ended():
            if self.display:
                self.display.xdotool("key", "Return")  # to a message box: it takes the focus
            return self.proc.poll() is not None
        if not until(ended, timeout):
            os.killpg(self.proc.pid, 9)
        self.out, self.err = self.proc.communicate()
        return self.proc.returncode

    def window(self):
        """(id, x, y, width, height) of the game's window on the screen; () while it has none.
        SDL may make one and replace it: the topmost then, the last one made."""
        shell = self.display.xdotool("search", "--onlyvisible", "--name", "^Zentaris$",
                                     "getwindowgeometry", "--shell", "%@")
        return tuple(int(line.split("=")[1]) for line in shell.split()[-6:-1])

    def view(self, shot):
        """The game's image on a screenshot, at its own size, as rows of (red, green, blue): the
        middle of its window at the image's shape; while SDL replaces its window, the screen's top
        left corner."""
        x, y, w, h = self.window()[1:] or (0, 0, 800, 600)
        return np.asarray(ImageOps.fit(shot.crop((x, y, x + w, y + h)), (800, 600)), np.int16)

    def see(self, what, predicate, timeout=20):
        """The first screenshot on which predicate holds."""
        shot = until(lambda: self.proc.poll() is not None or
                     predicate(s := self.display.shot()) and s, timeout)
        if not isinstance(shot, Image.Image):
            raise AssertionError(f"no {what} within {timeout} s; the game ended with "
                                 f"{self.finish(0)} (-9: killed here), stderr:\n{self.err}")
        return shot

    def page(self, name, timeout=20):
        """The first screenshot that shows the page `name` (one of PAGES) on top: more than 60 %
        of its picture where the page lies."""
        file, x, y = PAGES[name]
        expected = picture(f"{BUILT}/ImgData/{file}")
        return self.see(f"{name} page",
                        lambda shot: likeness(self.view(shot), expected, x, y) > 0.6, timeout)

    def xdotool(self, *args):
        """Gives the game's window the keyboard focus, as a click would, and once the server has
        moved it there, runs xdotool with these arguments: keys and clicks reach the game."""
        def held():
            window = self.window()
            if window:
                self.display.xdotool("windowfocus", str(window[0]))
            return window and self.display.xdotool("getwindowfocus") == f"{window[0]}\n"
        if not until(held, 10):
            raise AssertionError("the game's window does not take the focus")
        self.display.xdotool(*args)

    def key(self, *keys):
        self.xdotool("key", "--delay", "20", *keys)


class Case(unittest.TestCase):
    """Tests of the real binary: directories, displays and runs, each cleaned up after the test."""

    def directory(self):
        """An empty directory of this test's own."""
        path = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, path, True)
        return path

    def runtime(self):
        return runtime(self.directory())

    def game(self, rt, screen=None, **options):
        """A run of the game in runtime directory rt, on a display of its own of the screen's
        size (width, height) or on none."""
        display = screen and Display()
        if display:
            self.addCleanup(display.close)
            display.start(screen)
        run = Run(rt, display, **options)
        self.addCleanup(run.finish, 0)
        return run

    def start(self, rt, screen=(800, 600), size=None, **options):
        """The game, once its window has this size (by default the screen's) and shows the start
        page."""
        run = self.game(rt, screen, **options)
        run.see("the window's size", lambda _: run.window()[3:] == (size or screen))
        run.page("start")
        return run
