"""Zentaris played as a player would: the real binary under Xvfb with evilwm, keys and clicks
through xdotool, checked on screenshots and in the score database. With ZENTARIS_SCREENSHOTS set
to a directory, the pictures of the README are kept there."""

import os
import time

import harness

SEEDED = [("Ada", 3), ("Bo", 2), ("Cy", 1)]  # lower than any game with one solved apple
# Boxes of the game's image, (left, top, right, bottom): the name field of the start page and the
# score, right of the help page so that it stays in sight under it.
NAME_FIELD = (520, 270, 790, 300)
SCORE_BOX = (700, 10, 790, 43)
SCREENSHOTS = os.environ.get("ZENTARIS_SCREENSHOTS")
# Keys that type each answer from 1 to 10 and check it: in divisions of factors up to 10 one of
# them solves any apple.
ANSWERS = [key for n in range(1, 11) for key in (*str(n), "space")]


def part(run, shot, box):
    left, top, right, bottom = box
    return run.view(shot)[top:bottom, left:right].tobytes()


def keep(shot, name):
    if SCREENSHOTS:
        shot.save(os.path.join(SCREENSHOTS, name + ".png"))


class WholeGame(harness.Case):
    def test_a_finished_game_heads_the_best_three_under_the_typed_name(self):
        rt = self.runtime(seed=SEEDED)
        run = self.start(self.display(), rt)
        first = self.page(run, "start")
        run.key("K", "i", "m")
        if SCREENSHOTS:  # the whole name
            time.sleep(1)
            keep(run.display.shot(), "start")
        run.key("F12", "F5")  # divisions
        playing = part(run, self.page(run, "play"), SCORE_BOX)
        if SCREENSHOTS:  # the first apples fall into sight
            time.sleep(6)
        run.key("F1")
        keep(self.page(run, "help"), "help")
        run.key("F1")
        self.page(run, "play")
        run.key(*ANSWERS)
        keep(self.see(run, "points", lambda s: part(run, s, SCORE_BOX) != playing), "play")
        keep(self.page(run, "gameover", timeout=150), "gameover")
        *stored, (name, points) = harness.scores(rt)
        self.assertEqual((stored, name), (SEEDED, "Kim"), "the games stored")
        self.assertGreater(points, 0, "the solved apples earned no points")
        run.key("F2")
        before = harness.table_rows(run.view(first))
        after = harness.table_rows(run.view(self.page(run, "start")))
        self.assertNotEqual(after[0], before[0], "the new best is not on top")
        self.assertEqual(after[1:], before[:2], "the best two before it did not move down")


class ReadOnlyScores(harness.Case):
    def test_a_score_that_cannot_be_stored_is_reported_and_play_goes_on(self):
        rt = self.runtime(seed=SEEDED)
        self.immutable(os.path.join(rt, "score", "scores.db"))
        run = self.start(self.display(), rt)
        self.page(run, "start")
        run.key("F5")
        self.page(run, "play")
        self.page(run, "gameover", timeout=150)
        run.key("Return")
        self.page(run, "play")
        run.key("Escape")
        self.assertEqual(run.finish(), 0, run.err)
        self.assertEqual(run.err, "Datenbankfehler: attempt to write a readonly database\n"
                                  "Fehler: Kann Highscore nicht schreiben\n")
        self.assertEqual(harness.scores(rt), SEEDED, "the read-only database changed")


class StartButton(harness.Case):
    def test_a_click_on_the_drawn_button_starts_and_one_below_it_does_not(self):
        # The image is letterboxed: 1.6 times as large, 32 pixels down; the button's middle lies at
        # (565, 527) of the image.
        run = self.start(self.display((1280, 1024)), self.runtime())
        name = part(run, self.page(run, "start"), NAME_FIELD)
        run.click(905, 960)
        run.key("A")  # shown only while the start page takes the name
        self.see(run, "the name typed after a click below the button",
                 lambda s: part(run, s, NAME_FIELD) != name)
        run.click(905, 876)
        self.page(run, "play")
        run.key("Escape")
        self.assertEqual(run.finish(), 0, run.err)
