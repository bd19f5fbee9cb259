#!/usr/bin/env python3
"""Takes the pictures of the README: plays a game of the built binary on a virtual screen with
the tests' harness, and keeps the start page with a name typed in, the help page over the first
apples, a right answer with the witch's lightning, and the game-over page.

    scripts/screenshots.py [BUILD_DIR [DIRECTORY]]    (defaults: build and docs)
"""

import os
import sys
import time
import unittest

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(TOP, "build"))
OUT = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(TOP, "docs"))
os.environ["ZENTARIS_RUNTIME_DIR"] = os.path.join(BUILD, "game")  # read by the harness
sys.path.insert(0, os.path.join(TOP, "tests", "support"))
import harness  # noqa: E402


def keep(shot, name):
    shot.save(os.path.join(OUT, name + ".png"))
    print("kept", os.path.join(OUT, name + ".png"))


class Screenshots(harness.Case):
    def runTest(self):
        run = self.start(self.runtime())
        score = lambda shot: run.view(shot)[10:43, 700:790].tobytes()
        run.key("K", "i", "m")
        time.sleep(1)  # the whole name in sight
        keep(run.display.shot(), "start")
        run.key("F12", "F5")  # divisions
        playing = score(run.page("play"))
        time.sleep(6)  # the first apples in sight
        run.key("F1")
        keep(run.page("help"), "help")
        run.key("F1")
        run.page("play")
        run.key(*harness.ANSWERS)
        keep(run.see("points", lambda shot: score(shot) != playing), "play")
        keep(run.page("gameover", 150), "gameover")
        run.key("Escape")


if __name__ == "__main__":
    sys.exit(0 if unittest.TextTestRunner().run(Screenshots()).wasSuccessful() else 1)
