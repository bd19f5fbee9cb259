"""Time from starting the real zentaris binary to its first presented frame, under Xvfb with a
window manager: the clock stops when the start page's pixels appear on the screen.

    python3 bench/startup.py build/game [runs]
"""

import os
import shutil
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "support"))
import headless  # noqa: E402


def first_frame_seconds(display, rt):
    start = time.monotonic()
    game = headless.Game(rt, display.env())
    try:
        while time.monotonic() - start < 30:
            # The start page is never black in its middle; the bare X screen is.
            xwd = headless.subprocess.run(["xwd", "-root", "-silent"], env=display.env(),
                                          capture_output=True, timeout=10).stdout
            pixel = headless.subprocess.run(
                [headless.CONVERT, "xwd:-", "-crop", "1x1+400+300", "-depth", "8", "rgb:-"],
                input=xwd, capture_output=True, timeout=10).stdout
            if pixel and any(pixel):
                return time.monotonic() - start
        raise headless.TestFailure("no frame within 30 s")
    finally:
        display.key("Escape")
        game.wait(30)


def main():
    built = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    rt = headless.make_runtime_copy(os.path.abspath(built), link_assets=True)
    try:
        with headless.Display() as display:
            times = [first_frame_seconds(display, rt) for _ in range(runs)]
    finally:
        shutil.rmtree(rt, ignore_errors=True)
    print(f"start to first frame: median {statistics.median(times) * 1000:.0f} ms, "
          f"min {min(times) * 1000:.0f} ms over {runs} runs")


if __name__ == "__main__":
    main()
