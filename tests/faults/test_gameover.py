"""Faults that need a finished game, played for real (a minute or two until the apples have put
both horses out). The two sessions run at the same time, each on an X server of its own:

- the game is killed with SIGKILL right after its game-over page appears, and a second game is
  killed during play: the database stays sound and keeps every game that was over;
- the database file is read-only: the game over reports that the score cannot be written, and
  the game goes on."""

import os
import threading
import time
import traceback
import unittest

import faultkit
from faultkit import Session
from test_database import SEEDED, TEXT_PIXELS, report

GAME_OVER_WITHIN = 300  # seconds of real play until both horses are out, at most
PLAYER = "Kim"


class Background:
    """A session run on a thread of its own. It collects what it saw; the test that joins it
    gets that, or the failure that stopped it. Cleanups run on the thread when it ends."""

    def __init__(self, scenario):
        self._scenario = scenario
        self._cleanups = []
        self.result = None
        self.error = None
        self.trace = ""
        self.thread = threading.Thread(target=self._main, daemon=True)
        self.thread.start()

    def addCleanup(self, function, *args, **kwargs):  # the TestCase interface faultkit uses
        self._cleanups.append((function, args, kwargs))

    def fail(self, message):
        raise AssertionError(message)

    def _main(self):
        try:
            self.result = self._scenario(self)
        except BaseException as error:  # handed to the joining test, whatever it is
            self.error = error
            self.trace = traceback.format_exc()
        finally:
            while self._cleanups:
                function, args, kwargs = self._cleanups.pop()
                try:
                    function(*args, **kwargs)
                except Exception:  # a failed cleanup must not hide the outcome
                    pass

    def outcome(self, timeout):
        self.thread.join(timeout)
        if self.thread.is_alive():
            raise AssertionError(f"the session did not end within {timeout} s")
        if isinstance(self.error, unittest.SkipTest):
            raise self.error
        if self.error is not None:
            raise AssertionError(f"the session failed:\n{self.trace}")
        return self.result


def play_to_game_over(owner, display, shots, run):
    """From the start page: F5, then waits, without answering, for the game-over page."""
    start = faultkit.wait_for_shot(
        shots, "start", lambda p: faultkit.is_page(p, "ImgData/startpage.bmp"), 10,
        game=run.game)
    if start is None:
        owner.fail(f"no start page; stderr:\n{run.stderr}")
    display.key("F5")
    if faultkit.wait_for_shot(shots, "play", faultkit.is_play_scene, 10, game=run.game) is None:
        owner.fail(f"no play scene after F5; stderr:\n{run.stderr}")
    over = faultkit.wait_for_shot(
        shots, "waiting", lambda p: faultkit.is_page(p, "ImgData/gameover2.bmp"),
        GAME_OVER_WITHIN, game=run.game)
    if over is None:
        run.game.kill()
        owner.fail(f"no game-over page within {GAME_OVER_WITHIN} s "
                   f"(running: {run.game.running()}); stderr:\n{run.stderr}")


def database_state(db):
    return {"integrity": faultkit.integrity(db), "rows": faultkit.score_rows(db)}


def kill_sessions(owner):
    """Game one is killed right after its game-over page appears; game two during play."""
    seen = {}
    rt = faultkit.runtime_copy(owner, link_assets=True)
    db = os.path.join(rt, "score", "scores.db")
    faultkit.seed_scores(db, SEEDED)
    with faultkit.headless.Display() as display:
        shots = faultkit.ScreenShots(display, faultkit.scratch_dir(owner, "zentaris-kill-"))

        first = Session(owner, display, rt, lifetime=faultkit.PLAYER_LIFETIME)
        first.window()
        time.sleep(0.5)
        display.type_text(PLAYER)
        play_to_game_over(owner, display, shots, first)
        first.game.kill()
        seen["after_game_over"] = dict(database_state(db), status=first.game.proc.returncode)

        second = Session(owner, display, rt)
        second.window()
        display.key("F5")
        play = faultkit.wait_for_shot(shots, "second-play", faultkit.is_play_scene, 10,
                                      game=second.game)
        moved = play and faultkit.wait_for_shot(
            shots, "second-play-later",
            lambda p: faultkit.differing_pixels(p, play) > 0, 5, game=second.game)
        seen["second_game_moved"] = bool(moved)
        second.game.kill()
        seen["during_play"] = dict(database_state(db), status=second.game.proc.returncode)
    return seen


def read_only_session(owner):
    """A whole game on a database file that cannot be written, then on to another game."""
    seen = {}
    rt = faultkit.runtime_copy(owner, link_assets=True)
    db = os.path.join(rt, "score", "scores.db")
    faultkit.seed_scores(db, SEEDED)
    faultkit.make_immutable(owner, db)
    with faultkit.headless.Display() as display:
        shots = faultkit.ScreenShots(display, faultkit.scratch_dir(owner, "zentaris-ro-"))
        run = Session(owner, display, rt, lifetime=faultkit.PLAYER_LIFETIME)
        run.window()
        play_to_game_over(owner, display, shots, run)
        display.key("Return")
        seen["next_game"] = faultkit.wait_for_shot(
            shots, "next-game", faultkit.is_play_scene, 10, game=run.game) is not None
        display.key("F2")
        start = faultkit.wait_for_shot(
            shots, "start-again", lambda p: faultkit.is_page(p, "ImgData/startpage.bmp"), 10,
            game=run.game)
        seen["table_pixels"] = start and faultkit.differing_pixels(
            start, faultkit.asset("ImgData/highscore.bmp"), faultkit.table_region())
        seen["status"] = run.escape()
        seen["stderr"] = run.stderr
        seen["boxes"] = run.boxes
    seen.update(database_state(db))
    return seen


class FinishedGamesUnderFaults(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.kills = Background(kill_sessions)
        cls.read_only = Background(read_only_session)

    @classmethod
    def tearDownClass(cls):
        cls.kills.thread.join(60)
        cls.read_only.thread.join(60)

    def test_kill_right_after_game_over_keeps_every_finished_game(self):
        seen = self.kills.outcome(GAME_OVER_WITHIN + 60)["after_game_over"]
        self.assertTrue(faultkit.killed_by_sigkill(seen["status"]), seen)
        self.assertEqual(seen["integrity"], "ok")
        self.assertEqual(seen["rows"], SEEDED + [(PLAYER, 0)])

    def test_kill_during_play_keeps_every_finished_game(self):
        seen = self.kills.outcome(GAME_OVER_WITHIN + 60)
        self.assertTrue(seen["second_game_moved"], "the second game did not play")
        during = seen["during_play"]
        self.assertTrue(faultkit.killed_by_sigkill(during["status"]), during)
        self.assertEqual(during["integrity"], "ok")
        self.assertEqual(during["rows"], SEEDED + [(PLAYER, 0)])

    def test_read_only_database_at_game_over_reports_and_play_goes_on(self):
        seen = self.read_only.outcome(GAME_OVER_WITHIN + 60)
        self.assertEqual(seen["stderr"], report("attempt to write a readonly database",
                                                "Kann Highscore nicht schreiben"))
        self.assertEqual(seen["boxes"], [])
        self.assertTrue(seen["next_game"], "Return on the game-over page did not start a game")
        self.assertGreater(seen["table_pixels"], TEXT_PIXELS, "the stored rows are not listed")
        self.assertEqual(seen["status"], 0)
        self.assertEqual(seen["integrity"], "ok")
        self.assertEqual(seen["rows"], SEEDED)


if __name__ == "__main__":
    unittest.main(verbosity=2)
