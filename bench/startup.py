"""Start-up and memory of the real zentaris binary against a bare SDL2 full-screen window
(bench/BareWindow.cpp), both on one Xvfb display with evilwm, in turn, in the same run. The same
bare window linked with the game's other libraries (SDL2_mixer, SDL2_ttf, SQLite), none of them
called, runs in turn with them and shows what loading those libraries costs by itself.

Start-up: from just before the process is spawned to the first non-black pixel in the middle
of the screen, read through Xlib every ~2 ms. Memory: VmHWM (peak resident set) from
/proc/PID/status after a few seconds; the game plays during them (F5, answers), the bare window
keeps presenting.

    python3 bench/startup.py BUILD_DIR [runs]
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

try:
    from Xlib import X, display as xdisplay
except ImportError:
    # Debian's python3-xlib, when the python3 on the PATH is not the system's own.
    sys.path.append("/usr/lib/python3/dist-packages")
    from Xlib import X, display as xdisplay

POLL_SECONDS = 0.002
FIRST_FRAME_LIMIT = 30.0
PLAY_SECONDS = 4.0
LIFETIME = 120  # seconds any measured process may live


class Screen:
    """Xvfb with evilwm; the pixel in the middle is read straight through Xlib."""

    def __init__(self, width=800, height=600):
        self.width, self.height = width, height

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-br"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and not number.endswith(b"\n"):
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            self.xvfb.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number.decode().strip()
        self.env = {k: v for k, v in os.environ.items() if not k.startswith("SDL_")}
        self.env.update(DISPLAY=self.name, SDL_AUDIODRIVER="dummy")
        self.wm = subprocess.Popen(["evilwm", "-fn", "fixed"], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.x = xdisplay.Display(self.name)
        self.root = self.x.screen().root
        time.sleep(0.5)
        return self

    def __exit__(self, *exc):
        self.x.close()
        for proc in (self.wm, self.xvfb):
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
        return False

    def middle_lit(self):
        image = self.root.get_image(self.width // 2, self.height // 2, 1, 1, X.ZPixmap,
                                    0xFFFFFFFF)
        return any(image.data)

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "40", *keys], env=self.env,
                       capture_output=True, timeout=60)


def child_pid(pid):
    """The program that `timeout` runs: its only child."""
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        try:
            with open(f"/proc/{pid}/task/{pid}/children") as f:
                children = f.read().split()
            if children:
                return int(children[0])
        except OSError:
            pass
        time.sleep(0.01)
    raise RuntimeError("no child process")


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM")


def measure(screen, argv, cwd, play):
    """(seconds to the first lit pixel, peak RSS in KiB) of one run of argv."""
    if screen.middle_lit():
        raise RuntimeError("the screen is not black before the start")
    start = time.monotonic()
    proc = subprocess.Popen(["timeout", "-k", "5", str(LIFETIME), *argv], cwd=cwd, env=screen.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    try:
        while not screen.middle_lit():
            if time.monotonic() - start > FIRST_FRAME_LIMIT or proc.poll() is not None:
                raise RuntimeError(f"{argv[0]}: no frame within {FIRST_FRAME_LIMIT} s")
            time.sleep(POLL_SECONDS)
        first = time.monotonic() - start
        pid = child_pid(proc.pid)
        if play:
            screen.keys("F5")
        played = time.monotonic()
        while time.monotonic() - played < PLAY_SECONDS:
            if play:
                # Answers of the first tasks: some strike, some fail; either way text is drawn.
                screen.keys("1", "2", "space", "2", "4", "space")
            time.sleep(0.3)
        rss = peak_rss_kib(pid)
        screen.keys("Escape")
        proc.wait(20)
        return first, rss
    finally:
        if proc.poll() is None:
            os.killpg(proc.pid, 9)
            proc.wait(10)
        # The window is gone; wait until the screen is black again.
        deadline = time.monotonic() + 5
        while screen.middle_lit() and time.monotonic() < deadline:
            time.sleep(0.01)


def runtime_copy(built):
    rt = tempfile.mkdtemp(prefix="zentaris-bench-rt-")
    shutil.copy2(os.path.join(built, "game", "zentaris"), rt)
    for sub in ("ImgData", "Sound", "fonts"):
        os.symlink(os.path.join(built, "game", sub), os.path.join(rt, sub))
    os.mkdir(os.path.join(rt, "score"))
    return rt


def main():
    built = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    bare = os.path.join(built, "bench", "bare_window")
    rt = runtime_copy(built)
    results = {"game": [], "bare": [], "libs": []}
    try:
        with Screen() as screen:
            for n in range(runs):
                # Rotate who goes first, so none always meets a warmer cache.
                order = [("bare", [bare], False), ("game", ["./zentaris"], True),
                         ("libs", [bare + "_libs"], False)]
                for name, argv, play in order[n % 3:] + order[:n % 3]:
                    results[name].append(measure(screen, argv, rt, play))
    finally:
        shutil.rmtree(rt, ignore_errors=True)

    def med(name, i):
        return statistics.median(r[i] for r in results[name])

    print(f"start-up to the first non-black pixel, median of {runs} runs "
          f"(Xvfb 800x600, evilwm, Xlib poll every {POLL_SECONDS * 1000:.0f} ms):")
    for name in ("bare", "libs", "game"):
        each = " ".join(f"{r[0] * 1000:.0f}" for r in results[name])
        print(f"  {name:4}: {med(name, 0) * 1000:6.0f} ms   (runs: {each})")
    print(f"  game / bare window: {med('game', 0) / med('bare', 0):.3f}")
    print(f"  bare window with the game's libraries / bare window: "
          f"{med('libs', 0) / med('bare', 0):.3f}")
    print(f"peak RSS (VmHWM) after {PLAY_SECONDS:.0f} s, median of {runs} runs:")
    for name in ("bare", "libs", "game"):
        print(f"  {name:4}: {med(name, 1) / 1024:6.1f} MiB")
    print(f"  game / bare window: {med('game', 1) / med('bare', 1):.3f}")
    print(f"  bare window with the game's libraries / bare window: "
          f"{med('libs', 1) / med('bare', 1):.3f}")


if __name__ == "__main__":
    main()
