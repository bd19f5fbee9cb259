"""The real game with a score database it cannot use: locked by another process, garbage,
read-only, or no way to create it. Each time the reports go to standard error, the game goes on
(start page, play, back to the start page, Escape ends it with 0) and no stored row is lost."""

import os
import random
import sqlite3
import unittest

import faultkit
from faultkit import Session

SEEDED = [("Anna", 2500), ("Tom", 1200), ("Lena", 300)]
# A table bitmap with a row drawn into it differs from the bare bitmap in at least this many
# pixels (the fallback row alone changes over a thousand).
TEXT_PIXELS = 100


def report(error, detail):
    return f"Datenbankfehler: {error}\nFehler: {detail}\n"


LOCKED_AT_OPEN = (report("database is locked", "Kann Datenbanktabelle nicht anlegen")
                  + report("database is locked", "Kann Highscore nicht ermitteln"))
GARBAGE_READ = report("file is not a database", "Kann Highscore nicht ermitteln")
GARBAGE_AT_OPEN = (report("file is not a database", "Kann Datenbanktabelle nicht anlegen")
                   + GARBAGE_READ)
NO_FILE = report("unable to open database file", "SQLite Datenbankfehler")


class Visit:
    """What one run showed: screenshots of the start page before and after a game, whether the
    play scene moved, and how the game ended."""

    def __init__(self):
        self.first_start = None
        self.play_moved = False
        self.second_start = None
        self.status = None
        self.stderr = ""


class UnusableScoreDatabase(faultkit.OnOneDisplay):
    def setUp(self):
        self.rt = faultkit.runtime_copy(self, link_assets=True)
        self.score_dir = os.path.join(self.rt, "score")
        self.db = os.path.join(self.score_dir, "scores.db")
        self.shots = faultkit.ScreenShots(self.display, faultkit.scratch_dir(self, "zentaris-db-"))

    def start_page(self, run, label):
        shot = faultkit.wait_for_shot(
            self.shots, label, lambda p: faultkit.is_page(p, "ImgData/startpage.bmp"), 10,
            interval=0.5, game=run.game)
        self.assertIsNotNone(shot, f"no start page ({label}); stderr:\n{run.stderr}")
        return shot

    def visit(self, between=None):
        """Start page, F5, play for a moment, F2 back to the start page, Escape.
        `between` runs while the game is in play."""
        seen = Visit()
        run = Session(self, self.display, self.rt)
        run.window()
        seen.first_start = self.start_page(run, "start")
        self.display.key("F5")
        play = faultkit.wait_for_shot(self.shots, "play", faultkit.is_play_scene, 10,
                                      game=run.game)
        self.assertIsNotNone(play, f"no play scene after F5; stderr:\n{run.stderr}")
        later = faultkit.wait_for_shot(
            self.shots, "play-later",
            lambda p: faultkit.is_play_scene(p) and faultkit.differing_pixels(p, play) > 0, 5,
            game=run.game)
        seen.play_moved = later is not None
        if between:
            between()
        self.display.key("F2")
        seen.second_start = self.start_page(run, "start-again")
        seen.status = run.escape()
        seen.stderr = run.stderr
        self.assertEqual(run.boxes, [], "a database fault must not show a box")
        return seen

    def table_pixels(self, shot):
        """Pixels of the start page's table that rows have drawn over."""
        return faultkit.differing_pixels(shot, faultkit.asset("ImgData/highscore.bmp"),
                                         faultkit.table_region())

    def assert_game_went_on(self, seen):
        self.assertTrue(seen.play_moved, "the play scene stood still")
        self.assertEqual(seen.status, 0, seen.stderr)

    def assert_fallback_row(self, shot):
        self.assertGreater(self.table_pixels(shot), TEXT_PIXELS, "the table shows no row")

    def test_locked_by_another_process(self):
        faultkit.seed_scores(self.db, SEEDED)
        holder = sqlite3.connect(self.db, isolation_level=None)
        self.addCleanup(holder.close)
        holder.execute("BEGIN EXCLUSIVE")

        def release():
            holder.execute("ROLLBACK")

        seen = self.visit(between=release)
        self.assertEqual(seen.stderr, LOCKED_AT_OPEN)
        self.assert_fallback_row(seen.first_start)
        self.assert_game_went_on(seen)
        # Once the lock is gone the table is read again on the way back: the rows show.
        region = faultkit.table_region()
        self.assertGreater(
            faultkit.differing_pixels(seen.second_start, seen.first_start, region), TEXT_PIXELS)
        self.assertGreater(self.table_pixels(seen.second_start), TEXT_PIXELS)
        self.assertEqual(faultkit.integrity(self.db), "ok")
        self.assertEqual(faultkit.score_rows(self.db), SEEDED)

    def test_garbage_file(self):
        garbage = random.Random(6).randbytes(8192)
        self.assertFalse(garbage.startswith(b"SQLite format 3"))
        with open(self.db, "wb") as f:
            f.write(garbage)
        seen = self.visit()
        self.assertEqual(seen.stderr, GARBAGE_AT_OPEN + GARBAGE_READ)
        self.assert_fallback_row(seen.first_start)
        self.assert_fallback_row(seen.second_start)
        self.assert_game_went_on(seen)
        with open(self.db, "rb") as f:
            self.assertEqual(f.read(), garbage, "the garbage file was changed")

    def test_read_only_file_is_still_read(self):
        faultkit.seed_scores(self.db, SEEDED)
        faultkit.make_immutable(self, self.db)
        seen = self.visit()
        # Nothing is written before a game is over, so there is nothing to report.
        self.assertEqual(seen.stderr, "")
        self.assertGreater(self.table_pixels(seen.first_start), TEXT_PIXELS)
        self.assert_game_went_on(seen)
        self.assertEqual(faultkit.score_rows(self.db), SEEDED)

    def assert_cannot_open(self):
        seen = self.visit()
        # One report at the open; later reads without a connection are silent.
        self.assertEqual(seen.stderr, NO_FILE)
        self.assert_fallback_row(seen.first_start)
        self.assert_fallback_row(seen.second_start)
        self.assert_game_went_on(seen)

    def test_missing_score_directory_is_made(self):
        os.rmdir(self.score_dir)
        seen = self.visit()
        self.assertEqual(seen.stderr, "")
        self.assertEqual(self.table_pixels(seen.first_start), 0, "an empty table shows a row")
        self.assert_game_went_on(seen)
        self.assertEqual(faultkit.integrity(self.db), "ok")
        self.assertEqual(faultkit.score_rows(self.db), [])

    def test_score_directory_cannot_be_made(self):
        os.rmdir(self.score_dir)
        faultkit.make_immutable(self, self.rt)
        self.assert_cannot_open()
        self.assertFalse(os.path.exists(self.score_dir))

    def test_a_file_where_the_score_directory_belongs(self):
        os.rmdir(self.score_dir)
        with open(self.score_dir, "w", encoding="ascii") as f:
            f.write("not a directory\n")
        self.assert_cannot_open()
        with open(self.score_dir, encoding="ascii") as f:
            self.assertEqual(f.read(), "not a directory\n")

    def test_score_directory_read_only(self):
        faultkit.make_immutable(self, self.score_dir)
        self.assert_cannot_open()
        self.assertEqual(os.listdir(self.score_dir), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
