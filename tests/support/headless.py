"""Drives the real zentaris binary the way a player would: an X server of its own (Xvfb) with a
window manager, keys and clicks through xdotool, screenshots through xwd and ImageMagick.

Every run works in a temporary copy of the runtime directory, so no test touches a player's
score database, and every wait is bounded.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

GAME_TIMEOUT = 120  # seconds a single game process may live in a test
BOX_TITLES = ("Fehlermeldung", "Datei fehlt")


class TestFailure(AssertionError):
    pass


def make_runtime_copy(built_dir, link_assets=False):
    """A fresh runtime directory: executable, ImgData/, Sound/, fonts/ and an empty score/."""
    rt = tempfile.mkdtemp(prefix="zentaris-rt-")
    shutil.copy2(os.path.join(built_dir, "zentaris"), rt)
    for sub in ("ImgData", "Sound", "fonts"):
        src = os.path.join(built_dir, sub)
        if link_assets:
            os.symlink(src, os.path.join(rt, sub))
        else:
            shutil.copytree(src, os.path.join(rt, sub))
    os.mkdir(os.path.join(rt, "score"))
    return rt


def base_env(**extra):
    env = {k: v for k, v in os.environ.items() if not k.startswith("SDL_")}
    env["SDL_AUDIODRIVER"] = "dummy"
    env.update(extra)
    return env


class Display:
    """An Xvfb server at 800 x 600 with evilwm, so the full-screen window gets its size and
    input arrives."""

    def __init__(self, width=800, height=600):
        self.width = width
        self.height = height
        self.xvfb = None
        self.wm = None
        self.name = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.time() + 20
        while time.time() < deadline and not number.endswith(b"\n"):
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            raise TestFailure("Xvfb did not start")
        self.name = ":" + number.decode().strip()
        self.wm = subprocess.Popen(["evilwm"], env=self.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        return self

    def __exit__(self, *exc):
        for proc in (self.wm, self.xvfb):
            if proc and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
        return False

    def env(self, **extra):
        env = base_env(**extra)
        env["DISPLAY"] = self.name
        return env

    def run(self, args, timeout=10):
        return subprocess.run(args, env=self.env(), capture_output=True, text=True,
                              timeout=timeout)

    def find_window(self, name, timeout=20.0):
        """Id of the window named exactly `name`, or None after the timeout. (xwininfo finds
        SDL's message boxes, which xdotool's name search misses.)"""
        deadline = time.time() + timeout
        while True:
            out = self.run(["xwininfo", "-name", name])
            for line in out.stdout.splitlines():
                if "Window id:" in line:
                    return line.split("Window id:")[1].split()[0]
            if time.time() >= deadline:
                return None
            time.sleep(0.2)

    def window_geometry(self, wid):
        out = self.run(["xwininfo", "-id", wid]).stdout
        geo = {}
        for line in out.splitlines():
            line = line.strip()
            for key in ("Width", "Height", "Absolute upper-left X", "Absolute upper-left Y"):
                if line.startswith(key + ":"):
                    geo[key] = int(line.split(":")[1])
        return geo

    def key(self, *keys, delay_ms=30):
        self.run(["xdotool", "key", "--delay", str(delay_ms), *keys], timeout=60)

    def type_text(self, text, delay_ms=60):
        self.run(["xdotool", "type", "--delay", str(delay_ms), text], timeout=60)

    def move(self, x, y):
        self.run(["xdotool", "mousemove", str(x), str(y)])

    def click(self, x, y):
        self.move(x, y)
        self.run(["xdotool", "click", "1"])

    def screenshot(self, path):
        """Screenshot of the whole screen as PNG; returns the path."""
        xwd = subprocess.run(["xwd", "-root", "-silent"], env=self.env(), capture_output=True,
                             timeout=20)
        subprocess.run(["convert", "xwd:-", "png:" + path], input=xwd.stdout, check=True,
                       timeout=20)
        return path

    def pixels(self, path):
        """(width, height, bytes) of a PNG as raw RGB."""
        out = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                             check=True, timeout=20).stdout
        return self.width, self.height, out

    def close_boxes(self, timeout=15.0):
        """Closes every message box that appears within the timeout; returns their titles."""
        closed = []
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = False
            for title in BOX_TITLES:
                wid = self.find_window(title, timeout=0.1)
                if wid:
                    self.run(["xdotool", "key", "--window", wid, "Return"])
                    closed.append(title)
                    found = True
                    time.sleep(0.3)
            if not found and closed:
                break
            time.sleep(0.2)
        return closed


class Game:
    """The zentaris process in a runtime directory, bounded by timeout -k 5."""

    def __init__(self, rt_dir, env):
        self.rt_dir = rt_dir
        self.proc = subprocess.Popen(
            ["timeout", "-k", "5", str(GAME_TIMEOUT), "./zentaris"], cwd=rt_dir, env=env,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
            start_new_session=True)
        self.stdout = ""
        self.stderr = ""

    def wait(self, timeout=30):
        try:
            self.stdout, self.stderr = self.proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise TestFailure(f"the game did not end within {timeout} s; stderr so far:\n"
                              + self.stderr)
        return self.proc.returncode

    def running(self):
        return self.proc.poll() is None

    def kill(self, sig=signal.SIGKILL):
        try:
            os.killpg(self.proc.pid, sig)
        except ProcessLookupError:
            pass
        try:
            self.stdout, self.stderr = self.proc.communicate(timeout=10)
        except subprocess.TimeoutExpired:
            pass
