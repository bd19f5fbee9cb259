"""The learning record of the real binary: a game played as a player would under Xvfb, then its
report; and the report's page shown in headless Chromium."""

import os
import sqlite3
import subprocess

import numpy as np

import harness

# Each level of a fact in the page's grid: its cell's background, and the outcomes that make it.
LEVELS = [("f2f2f2", ""), ("d0d0d0", "solved"), ("2166ac", "solved solved solved"),
          ("fdb863", "solved solved solved solved landed"), ("b35806", "landed fell solved")]
FACTS = [(a, b) for a in range(1, 11) for b in range(1, 11)]  # the grid's, row by row


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


class ReportPage(harness.Case):
    def test_the_browser_shows_what_the_record_holds(self):
        # One game of a player whose name is markup; the fact a x b at level (a + b) % 5.
        rt = self.runtime()
        with sqlite3.connect(f"{rt}/score/record.db") as db:
            db.executescript(
                "create table games (id integer primary key, player, started, task_range,"
                " operation, score, finished, misses); create table apples (id integer primary"
                " key, game, shown_left, operation, shown_right, fact_a, fact_b, outcome,"
                " seconds); pragma user_version = 1; insert into games values"
                " (1, '<script>Kim</script>', '2026-12-07', 10, 'x', 0, 1, 0)")
            db.executemany("insert into apples values (null, 1, ?1, 'x', ?2, ?1, ?2, ?3, 3)",
                           [(a, b, outcome) for a, b in FACTS
                            for outcome in LEVELS[(a + b) % 5][1].split()])
        made = self.game(rt, args=["--report-html", "page.html"])
        self.assertEqual(made.finish(), 0, made.err)
        with open(f"{rt}/page.html") as page:
            self.assertIn("<h2>&lt;script&gt;Kim&lt;/script&gt;</h2>", page.read())
        shot = os.environ.get("ZENTARIS_SCREENSHOTS", rt) + "/report.png"
        subprocess.run(["timeout", "-k", "5", "60", "chromium", "--headless", "--no-sandbox",
                        "--disable-gpu", "--no-first-run", "--disable-background-networking",
                        "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                        "--force-device-scale-factor=1", f"--user-data-dir={rt}/chromium",
                        "--window-size=800,1100", f"--screenshot={shot}",
                        f"file://{rt}/page.html"], capture_output=True)
        view = harness.picture(shot)
        # The top left corner of 1 x 1, the first blue; the cells are 64 x 40, 2 pixels apart.
        y, x = np.argwhere((view == (0x21, 0x66, 0xac)).all(2))[0]
        self.assertEqual([view[y + 42 * a - 40, x + 66 * b - 64].tolist() for a, b in FACTS],
                         [list(bytes.fromhex(LEVELS[(a + b) % 5][0])) for a, b in FACTS],
                         "each fact's colour, row by row")
