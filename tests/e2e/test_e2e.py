"""Zentaris played as a player would: the real binary under Xvfb with evilwm, keys and clicks
through xdotool, checked on screenshots and in the score database."""

import os
import signal
import struct
import sys
import time
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402

SEEDED = [("Ada", 3), ("Bo", 2), ("Cy", 1)]  # lower than any game with one solved apple
NAME_FIELD = (520, 270, 270, 30)
SCORE_BOX = (700, 10, 90, 33)  # right of the help page, so it stays in sight while help is up
TABLE = (511, 393, 280)  # the start page's table of best scores: x, y, width
ROW_Y, ROW_STEP = 7, 20  # its rows, from the table's top
SCREENSHOTS = os.environ.get("ZENTARIS_SCREENSHOTS")  # a directory for the README's pictures


def keep(shot, name):
    """Writes the screenshot to SCREENSHOTS/name.png when that directory is given."""
    if SCREENSHOTS:
        line = shot.width * 3
        rows = b"".join(b"\0" + shot.rgb[y * line:(y + 1) * line] for y in range(shot.height))
        head = struct.pack(">IIBBBBB", shot.width, shot.height, 8, 2, 0, 0, 0)  # 8-bit RGB
        png = b"\x89PNG\r\n\x1a\n"
        for kind, data in ((b"IHDR", head), (b"IDAT", zlib.compress(rows, 9)), (b"IEND", b"")):
            crc = zlib.crc32(kind + data)
            png += struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)
        with open(os.path.join(SCREENSHOTS, name + ".png"), "wb") as f:
            f.write(png)
    return shot


def steady(box):
    """A predicate that holds on a screenshot whose box looks as in the one before it."""
    crops = [None]
    return lambda shot: crops.append(shot.crop(*box)) or crops[-1] == crops[-2]


def answers(numbers):
    """Keys that type each number and submit it with Space."""
    return [key for n in numbers for key in (*str(n), "space")]


def table_rows(shot):
    """Where each of the table's three rows has white text, as one byte a pixel."""
    x, y, width = TABLE
    bands = [shot.crop(x, y + ROW_Y + k * ROW_STEP, width, ROW_STEP) for k in range(3)]
    return [bytes(band[i:i + 3] == b"\xff\xff\xff" for i in range(0, len(band), 3))
            for band in bands]


class WholeGames(harness.Case):
    """The two tests that wait for apples to put both horses out run at the same time."""

    def test_a_player_session_and_a_game_over_on_a_read_only_database(self):
        harness.in_parallel(self.player_session, self.game_over_on_a_read_only_database)

    def player_session(self):
        """Name, divisions, answers, game over, the best three, and SIGKILL in play."""
        display = harness.Display(self)
        rt = self.runtime(seed=SEEDED)
        run = self.start(display, rt)
        first = self.page(run, "start")
        display.type("Kim")
        self.see(run, "the typed name", lambda s: s.crop(*NAME_FIELD) != first.crop(*NAME_FIELD))
        if SCREENSHOTS:  # the whole name, once the field stays as it is
            keep(self.see(run, "the whole name", steady(NAME_FIELD)), "start")
        display.key("F12", "F5")  # divisions: every answer is a factor from 1 to 10
        playing = self.page(run, "play").crop(*SCORE_BOX)
        if SCREENSHOTS:  # let the first apples fall into sight, below the score box
            time.sleep(6)
        display.key(*answers(range(1, 11)))
        if SCREENSHOTS:  # the witch strikes the apple just solved
            keep(self.see(run, "points", lambda s: s.crop(*SCORE_BOX) != playing), "play")
        keep(self.page(run, "gameover", timeout=150), "gameover")
        stored = harness.scores(rt)
        self.assertEqual(stored[:3], SEEDED, "the games stored before were changed")
        self.assertEqual([name for name, _ in stored[3:]], ["Kim"], "not one game of Kim stored")
        self.assertGreater(stored[3][1], 0, "the solved apples earned no points")

        # Apples left on the field can still be solved; F5 ends that game over again.
        display.key(*answers(range(1, 11)), "F5", "F2")
        again = self.page(run, "start")
        final = harness.scores(rt)
        self.assertEqual([name for name, _ in final[3:]], ["Kim"], "Kim's game is not listed once")
        self.assertGreater(final[3][1], stored[3][1], "the later points were not stored")
        before, after = table_rows(first), table_rows(again)
        self.assertNotEqual(after[0], before[0], "the best game is not on top of the table")
        self.assertEqual(after[1:], before[:2], "the two best before it do not follow it")

        display.key("F5")
        self.page(run, "play")
        self.assertEqual(run.kill(), -signal.SIGKILL, "the game was not killed by SIGKILL")
        self.assertEqual(harness.query(rt, "pragma integrity_check"), [("ok",)],
                         "the database is damaged after SIGKILL")
        self.assertEqual(harness.scores(rt), final, "SIGKILL changed the stored games")

    def game_over_on_a_read_only_database(self):
        """The score that cannot be stored is reported on standard error; play goes on."""
        display = harness.Display(self)
        rt = self.runtime(seed=SEEDED)
        self.immutable(os.path.join(rt, "score", "scores.db"))
        run = self.start(display, rt)
        display.key("F5")
        self.page(run, "gameover", timeout=150)
        display.key("Return")
        self.page(run, "play")
        display.key("Escape")
        self.assertEqual(run.finish(), 0, run.err)
        self.assertEqual(run.err, "Datenbankfehler: attempt to write a readonly database\n"
                                  "Fehler: Kann Highscore nicht schreiben\n")
        self.assertEqual(harness.scores(rt), SEEDED, "the read-only database changed")


class DivisionTasks(harness.Case):
    def score_under_help(self, run, display, keys):
        """Sends the keys with the help page up, then closes and opens it again (which tells
        that the keys were taken) and returns the score box as shown then."""
        display.key(*keys, "F1")
        self.page(run, "play")
        display.key("F1")
        return self.help_shown(run).crop(*SCORE_BOX)

    def test_f12_asks_divisions_whose_answers_are_the_factors(self):
        display = harness.Display(self)
        run = self.start(display, self.runtime())
        self.page(run, "start")
        display.key("F12", "F5")
        self.page(run, "play")  # the first apple falls from the first frame on
        display.key("F1")  # the help page holds the apples where they are
        zero = keep(self.help_shown(run), "help").crop(*SCORE_BOX)
        products = sorted({a * b for a in range(1, 11) for b in range(1, 11)} - set(range(11)))
        self.assertEqual(self.score_under_help(run, display, answers(products)), zero,
                         "a product above 10 solved a division of factors up to 10")
        self.assertNotEqual(self.score_under_help(run, display, answers(range(1, 11))), zero,
                            "no answer from 1 to 10 solved the division on the field")
        display.key("Escape")
        self.assertEqual(run.finish(), 0, run.err)


class StartButton(harness.Case):
    def test_a_click_on_the_drawn_button_starts_and_one_below_it_does_not(self):
        display = harness.Display(self, size=(1280, 1024))  # the image is letterboxed
        run = self.start(display, self.runtime())
        first = self.page(run, "start")
        field = harness.on_screen(display.place, *NAME_FIELD)
        display.click(run.wid, 1000, 960)
        display.type("A")  # shown only while the start page takes the name
        self.see(run, "the name typed after a click below the button",
                 lambda s: s.crop(*field) != first.crop(*field))
        display.click(run.wid, 905, 876)
        self.page(run, "play")
        display.key("Escape")
        self.assertEqual(run.finish(), 0, run.err)


if __name__ == "__main__":
    unittest.main(verbosity=2)
