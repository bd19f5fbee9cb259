"""The learning record of the real binary: a game played as a player would under Xvfb, then its
report as text, and as a page shown in headless Chromium."""

import sqlite3
import subprocess

import numpy as np

import harness


def hits(run, shot):
    """The hits both horses have taken, as their lives displays show: frames of 128 x 40."""
    view = run.view(shot)
    frames = np.hsplit(harness.picture(f"{harness.BUILT}/ImgData/lives.bmp"), 4)
    return sum(max(range(4), key=lambda k: harness.likeness(view, frames[k], x, 555))
               for x in (221, 457))


class RecordedGame(harness.Case):
    def test_the_report_and_its_page_show_the_apples_of_a_game_left_during_play(self):
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
        page = self.game(rt, args=["--report-html", "page.html"])
        self.assertEqual(page.finish(), 0, page.err)
        subprocess.run(["timeout", "-k", "5", "60", "chromium", "--headless", "--no-sandbox",
                        "--no-first-run", f"--user-data-dir={rt}/chromium",
                        "--window-size=800,1100", f"--screenshot={rt}/page.png",
                        f"file://{rt}/page.html"], capture_output=True)
        with sqlite3.connect(f"{rt}/score/record.db") as db:
            tried = set(db.execute("select fact_a, fact_b from apples"
                                   " where outcome != 'falling'").fetchall())
        # A fact that came once or twice is grey, one that never came light grey. The cells are
        # 64 x 40, 2 pixels apart: the grid's top row of pixels is the first that holds 600 of
        # either colour, and 1 x 1 begins at the first of them.
        rgb = harness.picture(f"{rt}/page.png") @ [65536, 256, 1]
        cell = np.isin(rgb, [0xD0D0D0, 0xF2F2F2])
        y = np.argmax(cell.sum(1) >= 600)
        x = np.argmax(cell[y])
        self.assertEqual(rgb[y:y + 420:42, x:x + 660:66].tolist(),
                         [[0xD0D0D0 if (a, b) in tried else 0xF2F2F2 for b in range(1, 11)]
                          for a in range(1, 11)], "each fact's cell, row by row")
