"""Storms of input on the real game: thousands of keys, long texts and mouse moves sent faster
than the game takes them (one event per frame). The game works them off and, once the storm has
drained, Escape still ends it with status 0."""

import random
import subprocess
import unittest

import faultkit
from faultkit import Session

# Everything the game reacts to, and a few keys it ignores; never Escape, which would end it.
KEYS = (list("0123456789") * 3 + list("abcxyz")
        + ["space"] * 6 + ["BackSpace"] * 3
        + ["Return", "F1", "F2", "F5", "F9", "F10", "F11", "F12", "Tab", "Left", "Up", "Delete"])
TEXT = "Zentaris äöü ÄÖÜ ß éñ 7x8=56 'O''Brien'; -- \"x\" "
DRAIN_WITHIN = 150  # seconds for the queue to drain and Escape to end the game


class InputStorms(faultkit.OnOneDisplay):
    def setUp(self):
        self.rt = faultkit.runtime_copy(self, link_assets=True)
        self.session = Session(self, self.display, self.rt)
        self.session.window()

    def xdotool(self, *args):
        done = subprocess.run(["xdotool", *args], env=self.display.env(), capture_output=True,
                              text=True, timeout=120)
        self.assertEqual(done.returncode, 0, done.stderr)

    def assert_worked_off(self):
        self.assertTrue(self.session.game.running(), f"the game ended in the storm; "
                                                  f"stderr:\n{self.session.game.stderr}")
        # Escape joins the end of the queue: the game reaches it only after the whole storm.
        self.assertEqual(self.session.escape(DRAIN_WITHIN), 0, self.session.stderr)
        self.assertEqual(self.session.boxes, [])
        self.assertEqual(self.session.stderr, "")

    def test_thousands_of_keys(self):
        draw = random.Random(3)
        self.xdotool("key", "--delay", "0", "F5", *(draw.choice(KEYS) for _ in range(2000)))
        self.assert_worked_off()

    def test_long_texts_on_the_start_page_and_in_play(self):
        self.xdotool("type", "--delay", "0", TEXT * 15)
        self.xdotool("key", "F5")
        self.xdotool("type", "--delay", "0", "12 34 56 7 8 90 100 " * 40)
        self.assert_worked_off()

    def test_mouse_moves_and_clicks(self):
        draw = random.Random(4)
        args = []
        for i in range(2000):
            args += ["mousemove", str(draw.randrange(800)), str(draw.randrange(600))]
            if i % 40 == 0:
                args += ["click", str(draw.choice((1, 2, 3)))]
        self.xdotool(*args)
        self.assert_worked_off()


if __name__ == "__main__":
    unittest.main(verbosity=2)
