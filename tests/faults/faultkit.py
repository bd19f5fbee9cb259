"""Tools of the fault suite: the real game in a runtime copy on an X display, its message boxes
closed as they appear, screenshots compared with the game's own pictures, and the score
database read with the sqlite3 command-line tool.

Every wait is bounded; a test that runs out of time fails with what it saw.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import headless  # noqa: E402

BUILT = os.environ["ZENTARIS_RUNTIME_DIR"]
SCREEN = (800, 600)
PLAYER_LIFETIME = 400  # seconds a game process may live when a test plays to game over

# Top-left corner of the high-score table on the start page, in screen pixels.
TABLE_POS = (511, 393)

# A screenshot counts as a page of the game when at least this share of its pixels equals the
# page's bitmap (the rest is text, cursor or actors drawn over it).
PAGE_LIKENESS = 0.9
# The play scene draws the witch, two horses and apples over the tree, yet most of the background
# stays bare (over 80 %); the start and game-over pages share less than a quarter of it.
PLAY_LIKENESS = 0.6


class Game(headless.Game):
    """headless.Game with a lifetime of our choosing (a game played to its end needs minutes)."""

    def __init__(self, rt_dir, env, lifetime=headless.GAME_TIMEOUT):
        # Starts the process itself instead of headless.Game.__init__, whose lifetime is fixed.
        self.rt_dir = rt_dir
        self.proc = subprocess.Popen(
            ["timeout", "-k", "5", str(lifetime), "./zentaris"], cwd=rt_dir, env=env,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.stdout = ""
        self.stderr = ""


def asset(rel):
    return os.path.join(BUILT, rel)


def open_boxes(display):
    """Titles and ids of the message boxes on the display now."""
    found = []
    for title in headless.BOX_TITLES:
        wid = display.find_window(title, timeout=0)
        if wid:
            found.append((title, wid))
    return found


def close_open_boxes(display, seen=None):
    """Sends Return to every open box; returns the titles of those not in `seen` (a set of
    window ids, updated), so a box that takes a moment to close is counted once."""
    closed = []
    for title, wid in open_boxes(display):
        display.run(["xdotool", "key", "--window", wid, "Return"])
        if seen is None or wid not in seen:
            closed.append(title)
        if seen is not None:
            seen.add(wid)
    return closed


class Session:
    """One run of the game on a display: starts it, closes its boxes and ends it for sure."""

    def __init__(self, case, display, rt, env=None, lifetime=headless.GAME_TIMEOUT):
        self.case = case
        self.display = display
        self.rt = rt
        self.boxes = []
        self.box_ids = set()
        self.game = Game(rt, env if env is not None else display.env(), lifetime)
        case.addCleanup(self.game.kill)

    @property
    def stderr(self):
        return self.game.stderr

    def until_exit(self, timeout=30.0):
        """Closes every box until the process ends; returns its exit status."""
        deadline = time.time() + timeout
        while self.game.running():
            if time.time() > deadline:
                titles = [t for t, _ in open_boxes(self.display)]
                self.game.kill()
                self.case.fail(f"the game still ran after {timeout} s (boxes open: {titles}); "
                               f"boxes closed: {self.boxes}; stderr:\n{self.game.stderr}")
            self.boxes += close_open_boxes(self.display, self.box_ids)
            time.sleep(0.1)
        return self.game.wait(10)

    def window(self, timeout=20.0):
        """Waits for the game window; fails with what happened instead."""
        wid = self.display.find_window("Zentaris", timeout=timeout)
        if wid is None or not self.game.running():
            self.boxes += close_open_boxes(self.display, self.box_ids)
            self.game.kill()
            self.case.fail(f"no game window (boxes: {self.boxes}); stderr:\n{self.game.stderr}")
        return wid

    def runs_without_boxes(self, seconds):
        """The window is up and for `seconds` no box appears and the process keeps running."""
        self.window()
        deadline = time.time() + seconds
        while time.time() < deadline:
            titles = close_open_boxes(self.display, self.box_ids)
            self.boxes += titles
            if titles or not self.game.running():
                self.game.kill()
                self.case.fail(f"the game stopped or showed a box {titles}; "
                               f"stderr:\n{self.game.stderr}")
            time.sleep(0.2)

    def escape(self, timeout=30.0):
        """Escape ends the game; returns the exit status."""
        self.display.key("Escape")
        return self.until_exit(timeout)


class OnOneDisplay(unittest.TestCase):
    """Tests that share one X server: each starts its own game on it."""

    display = None

    @classmethod
    def setUpClass(cls):
        cls._display_cm = headless.Display()
        cls.display = cls._display_cm.__enter__()

    @classmethod
    def tearDownClass(cls):
        cls._display_cm.__exit__(None, None, None)


class ScreenShots:
    """Numbered screenshots of a display into a directory of the test."""

    def __init__(self, display, directory):
        self.display = display
        self.directory = directory
        self.count = 0

    def take(self, label):
        self.count += 1
        path = os.path.join(self.directory, f"{self.count:03d}-{label}.png")
        return self.display.screenshot(path)


def differing_pixels(image, reference, region=None):
    """Pixels that differ between `image` (cut to region (x, y, w, h) when given) and
    `reference`, which must have the size of the region or of the image."""
    source = image
    if region:
        x, y, w, h = region
        source = f"{image}[{w}x{h}+{x}+{y}]"
    out = subprocess.run(["compare", "-metric", "AE", source, reference, "null:"],
                         capture_output=True, text=True, timeout=30)
    if out.returncode not in (0, 1):
        raise headless.TestFailure(f"compare failed: {out.stderr}")
    return int(float(out.stderr.split()[0]))


def likeness(image, reference, region=None):
    """Share of the pixels of `image` that equal `reference` (0 to 1)."""
    if region:
        total = region[2] * region[3]
    else:
        total = SCREEN[0] * SCREEN[1]
    return 1.0 - differing_pixels(image, reference, region) / total


def image_size(path):
    out = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                         text=True, check=True, timeout=30).stdout.split()
    return int(out[0]), int(out[1])


def table_region():
    w, h = image_size(asset("ImgData/highscore.bmp"))
    return (TABLE_POS[0], TABLE_POS[1], w, h)


def is_play_scene(shot):
    return likeness(shot, asset("ImgData/baum.bmp")) > PLAY_LIKENESS


def is_page(shot, rel):
    return likeness(shot, asset(rel)) > PAGE_LIKENESS


def wait_for_shot(shots, label, test, timeout, interval=1.0, game=None):
    """Takes screenshots until `test(path)` holds; returns that path, or None after the
    timeout or when `game` has ended."""
    deadline = time.time() + timeout
    while True:
        path = shots.take(label)
        if test(path):
            return path
        if time.time() > deadline or (game is not None and not game.running()):
            return None
        time.sleep(interval)


# The score database, through the sqlite3 command-line tool.

def sql(db, statement):
    out = subprocess.run(["sqlite3", "-batch", "-separator", "|", db, statement],
                         capture_output=True, text=True, timeout=30)
    if out.returncode != 0:
        raise headless.TestFailure(f"sqlite3 failed on {statement!r}: {out.stderr}")
    return out.stdout


def seed_scores(db, rows):
    """A score table as the game keeps it, with the given (name, score) rows."""
    values = ",".join(f"('{name}',{score})" for name, score in rows)
    sql(db, "create table scores (id INTEGER PRIMARY KEY, name TEXT, score INTEGER DEFAULT 0);"
            f"insert into scores(name,score) values {values};")


def score_rows(db):
    """Every row of the score table as (name, score), in the order stored."""
    rows = []
    for line in sql(db, "select name, score from scores order by id;").splitlines():
        name, score = line.rsplit("|", 1)
        rows.append((name, int(score)))
    return rows


def integrity(db):
    return sql(db, "PRAGMA integrity_check;").strip()


# Files the root user cannot change either: the immutable attribute.

def make_immutable(case, path):
    """Sets the immutable attribute on `path` for the rest of the test, or skips the test when
    the file system refuses it."""
    done = subprocess.run(["chattr", "+i", path], capture_output=True, text=True)
    if done.returncode != 0:
        raise unittest.SkipTest(f"chattr +i refused on {path}: {done.stderr.strip()}")
    case.addCleanup(subprocess.run, ["chattr", "-i", path], capture_output=True)
    flags = subprocess.run(["lsattr", "-d", path], capture_output=True, text=True).stdout
    if "i" not in flags.split()[0]:
        raise unittest.SkipTest(f"the immutable attribute did not stick on {path}")


def runtime_copy(case, link_assets=False):
    """A runtime directory for this test, removed when it ends."""
    rt = headless.make_runtime_copy(BUILT, link_assets=link_assets)
    case.addCleanup(shutil.rmtree, rt, True)
    return rt


def runtime_with_own_copies(case, rels):
    """A runtime directory whose files are links to the built ones, except the files `rels`
    (paths below the runtime directory), which are real copies to damage."""
    rt = tempfile.mkdtemp(prefix="zentaris-rt-")
    case.addCleanup(shutil.rmtree, rt, True)
    os.symlink(os.path.join(BUILT, "zentaris"), os.path.join(rt, "zentaris"))
    os.mkdir(os.path.join(rt, "score"))
    for sub in ("ImgData", "Sound", "fonts"):
        if not any(rel.startswith(sub + "/") for rel in rels):
            os.symlink(os.path.join(BUILT, sub), os.path.join(rt, sub))
            continue
        os.mkdir(os.path.join(rt, sub))
        for name in os.listdir(os.path.join(BUILT, sub)):
            rel = f"{sub}/{name}"
            if rel in rels:
                shutil.copy2(os.path.join(BUILT, rel), os.path.join(rt, rel))
            else:
                os.symlink(os.path.join(BUILT, rel), os.path.join(rt, rel))
    return rt


def scratch_dir(case, prefix):
    path = tempfile.mkdtemp(prefix=prefix)
    case.addCleanup(shutil.rmtree, path, True)
    return path


def killed_by_sigkill(status):
    return status == -signal.SIGKILL
