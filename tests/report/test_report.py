"""The learning record of the real binary: a game played as a player would under Xvfb, then its
report."""

import numpy as np

import harness


def hits(run, shot):
    """The hits both horses have taken, as their lives displays show: frames of 128 x 40."""
    view = run.view(shot)
    frames = np.hsplit(harness.picture(f"{harness.BUILT}/ImgData/lives.bmp"), 4)
    return sum(max(range(4), key=lambda k: harness.likeness(view, frames[k], x, 555))
               for x in (221, 457))


class RecordedGame(harness.Case):
    def test_the_report_shows_the_apples_of_a_game_left_during_play(self):
        rt = self.runtime()
        run = self.start(rt)
        # Divisions up to 10 x 10: the first apple shows at once, and the help page holds it.
        run.key("I", "d", "a", "F12", "F5", "F1")
        run.page("help")
        run.key(*harness.ANSWERS, "F1")
        run.see("an apple on a horse", lambda shot: hits(run, shot), 90)
        run.key("F1")
        landed = hits(run, run.page("help"))
        run.key("Escape")
        self.assertEqual(run.finish(), 0, run.err)
        report = self.game(rt, args=["--report"])
        self.assertEqual(report.finish(), 0, report.err)
        self.assertIn(f"\nIda\n  Spiele: 1, davon 1 nicht zu Ende gespielt\n  Äpfel: 1 gelöst, "
                      f"{landed} auf einem Pferd gelandet, ", report.out)
