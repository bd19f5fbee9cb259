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

from Xlib import X

POLL_SECONDS = 0.002
FIRST_FRAME_LIMIT = 30.0
PLAY_SECONDS = 4.0
LIFETIME = 120  # seconds any measured process may live


def middle_lit(screen):
    """Whether the pixel in the middle of the screen is not black, read straight through Xlib."""
    width, height = screen.size
    return any(screen.root.get_image(width // 2, height // 2, 1, 1, X.ZPixmap, 0xFFFFFFFF).data)


def keys(screen, *names):
    subprocess.run(["xdotool", "key", "--delay", "40", *names], env=screen.env,
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
    if middle_lit(screen):
        raise RuntimeError("the screen is not black before the start")
    start = time.monotonic()
    proc = subprocess.Popen(["timeout", "-k", "5", str(LIFETIME), *argv], cwd=cwd, env=screen.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    try:
        while not middle_lit(screen):
            if time.monotonic() - start > FIRST_FRAME_LIMIT or proc.poll() is not None:
                raise RuntimeError(f"{argv[0]}: no frame within {FIRST_FRAME_LIMIT} s")
            time.sleep(POLL_SECONDS)
        first = time.monotonic() - start
        pid = child_pid(proc.pid)
        if play:
            keys(screen, "F5")
        played = time.monotonic()
        while time.monotonic() - played < PLAY_SECONDS:
            if play:
                # Answers of the first tasks: some strike, some fail; either way text is drawn.
                keys(screen, "1", "2", "space", "2", "4", "space")
            time.sleep(0.3)
        rss = peak_rss_kib(pid)
        keys(screen, "Escape")
        proc.wait(20)
        return first, rss
    finally:
        if proc.poll() is None:
            os.killpg(proc.pid, 9)
            proc.wait(10)
        # The window is gone; wait until the screen is black again.
        deadline = time.monotonic() + 5
        while middle_lit(screen) and time.monotonic() < deadline:
            time.sleep(0.01)


def main():
    built = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    bare = os.path.join(built, "bench", "bare_window")
    # The tests' harness makes the runtime directory and the X server.
    os.environ["ZENTARIS_RUNTIME_DIR"] = os.path.join(built, "game")
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                    "support"))
    import harness
    rt, screen = harness.runtime(tempfile.mkdtemp(prefix="zentaris-rt-")), harness.Display()
    results = {"game": [], "bare": [], "libs": []}
    try:
        screen.start()
        for n in range(runs):
            # Rotate who goes first, so none always meets a warmer cache.
            order = [("bare", [bare], False), ("game", ["./zentaris"], True),
                     ("libs", [bare + "_libs"], False)]
            for name, argv, play in order[n % 3:] + order[:n % 3]:
                results[name].append(measure(screen, argv, rt, play))
    finally:
        screen.close()
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
