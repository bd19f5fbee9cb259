"""Zentaris played end to end: the real binary under Xvfb, driven by keys as a player would,
checked through screenshots and the score database.

Run with ZENTARIS_SCREENSHOTS=<directory> to keep the pictures of the start page, the help page,
play with lightning and the game-over page there (docs/ holds the ones shown in the README).
"""

import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
sys.path.insert(0, os.path.dirname(__file__))
import headless  # noqa: E402
import scene  # noqa: E402
from scene import Scene  # noqa: E402

BUILT = os.environ["ZENTARIS_RUNTIME_DIR"]
SHOTS = os.environ.get("ZENTARIS_SCREENSHOTS")
if SHOTS:
    SHOTS = os.path.abspath(SHOTS)

GAME_LIFETIME = 420  # seconds; a whole session with one game played to its end is far shorter
GAME_OVER_WAIT = 240  # an apple comes every 3.5 s and six must land on the horses


class Player:
    """One game process on its own X server, with the means to look at it."""

    def __init__(self):
        self.stack = contextlib.ExitStack()
        self.rt = headless.make_runtime_copy(BUILT)
        self.stack.callback(shutil.rmtree, self.rt, ignore_errors=True)
        self.game = None
        self.last = None
        self.last_path = None

    def start(self):
        self.scene = Scene(self.rt)
        self.display = self.stack.enter_context(headless.Display())
        # On a layout with umlaut keys xdotool types them on real keys; otherwise it remaps a
        # spare key for a moment and must go slowly so the game reads the new mapping in time.
        self.umlaut_keys = self.display.set_keyboard_layout("de")
        self.game = headless.Game(self.rt, self.display.env(), lifetime=GAME_LIFETIME)
        if self.display.find_window("Zentaris") is None:
            self.fail("no window titled Zentaris appeared")

    def close(self):
        if self.game is not None and self.game.running():
            self.game.kill()
        self.stack.close()

    # Looking -------------------------------------------------------------------------------

    def shoot(self):
        self.last = self.display.capture()
        return self.last

    def fail(self, message):
        """Fails with what was seen: the last screenshot is kept and its path reported."""
        if self.last is not None and self.last_path is None:
            keep = tempfile.mkdtemp(prefix="zentaris-e2e-")
            self.last_path = self.last.save(os.path.join(keep, "last.png"))
        if self.game is not None and self.game.running():
            self.game.kill()
        raise AssertionError(f"{message}\nlast screenshot: {self.last_path}\n"
                             f"game stderr:\n{self.game.stderr}")

    def wait_until(self, what, predicate, timeout=20.0, interval=0.25):
        """Screenshots until predicate(shot) holds; the shot that satisfied it."""
        deadline = time.time() + timeout
        while True:
            if not self.game.running():
                self.fail(f"the game ended (status {self.game.proc.poll()}) while waiting for "
                          f"{what}")
            shot = self.shoot()
            if predicate(shot):
                return shot
            if time.time() >= deadline:
                self.fail(f"no {what} within {timeout:.0f} s")
            time.sleep(interval)

    def settled(self, box):
        """A screenshot in which the box looks as in the one before (keys are worked off)."""
        previous = [None]

        def same_as_before(shot):
            part = shot.crop(*box).data
            same, previous[0] = part == previous[0], part
            return same
        return self.wait_until("end of changes", same_as_before, interval=0.3)

    def on_page(self, page):
        return self.wait_until(
            f"{page} page", lambda s: self.scene.page(s) == page and not self.scene.help_shown(s))

    def help_page(self):
        return self.wait_until("help page", self.scene.help_shown)

    @staticmethod
    def keep(shot, name):
        if SHOTS:
            os.makedirs(SHOTS, exist_ok=True)
            shot.save(os.path.join(SHOTS, name))

    # Acting --------------------------------------------------------------------------------

    def type_name(self, text):
        if self.umlaut_keys:
            self.display.type_text(text)
        else:
            self.display.type_text(text, delay_ms=400)

    def answer(self, number):
        self.display.key(*str(number), "space")

    def answers(self, numbers):
        keys = [k for n in numbers for k in (*str(n), "space")]
        self.display.key(*keys, delay_ms=20)

    def ended(self, timeout=30):
        return self.game.wait(timeout)

    # The score database --------------------------------------------------------------------

    def stored_games(self):
        """(name, score) of every stored game, oldest first, read with the sqlite3 tool."""
        db = os.path.join(self.rt, "score", "scores.db")
        if not os.path.exists(db):
            self.fail("the game made no score/scores.db")
        out = subprocess.run(["sqlite3", "-readonly", "-batch", "-noheader", "-separator", "|",
                              db, "select name, score from scores order by id;"],
                             capture_output=True, text=True, timeout=20)
        if out.returncode != 0:
            self.fail("sqlite3 could not read the scores: " + out.stderr)
        rows = []
        for line in out.stdout.splitlines():
            name, score = line.rsplit("|", 1)
            rows.append((name, int(score)))
        return rows


def apple_with_task_falls(scene_, before, after):
    """An apple of `before` shows its task and is found again in `after` at the same x and
    lower down (apples fall straight)."""
    def with_text(shot):
        return [a for a in scene_.apples(shot) if a.y0 > 0 and len(scene_.task_text(shot, a)) >= 3]
    for a in with_text(before):
        for b in with_text(after):
            if abs(a.x0 - b.x0) <= 1 and 5 <= b.y0 - a.y0 <= 80:
                return True
    return False


class PlayerTest(unittest.TestCase):
    def setUp(self):
        self.player = Player()
        self.addCleanup(self.player.close)
        self.player.start()

    def expect(self, condition, message):
        if not condition:
            self.player.fail(message)


class ASession(PlayerTest):
    """One session from the start page through a whole game and back to the start page."""

    def test_name_help_play_answers_game_over_and_back(self):
        p = self.player
        first_start = p.on_page("start")
        games_before = p.stored_games()
        self.expect(Scene.white_extent(first_start, scene.NAME_FIELD) == 0,
                    "the name field is not empty at the start")
        self.expect(p.scene.table_rows_with_text(first_start) == [False] * 3,
                    "the table of a fresh database lists games")

        start = self.check_name_entry(p)
        self.check_help_page(p, start)
        first_play, score_zero = self.check_play_begins(p)
        lightning = self.check_answers(p, first_play, score_zero)
        last_play, over = self.check_horses_until_game_over(p, first_play)
        self.check_stored_game(p, games_before, last_play, over)
        self.check_another_game(p, first_play, score_zero)
        self.check_back_to_start(p, first_start, games_before)

        p.display.key("Escape")
        self.assertEqual(p.ended(), 0, p.game.stderr)
        Player.keep(start, "start.png")
        Player.keep(lightning, "play.png")
        Player.keep(over, "gameover.png")

    def check_name_entry(self, p):
        """Each typed piece of "Jürgen-1", the umlaut too, makes the shown name wider."""
        width = 0
        shot = None
        for piece in ("J", "ü", "rgen-1"):
            p.type_name(piece)
            shot = p.wait_until(
                f"wider name after typing {piece!r}",
                lambda s: Scene.white_extent(s, scene.NAME_FIELD) > width)
            width = Scene.white_extent(shot, scene.NAME_FIELD)
        return p.settled(scene.NAME_FIELD)

    def check_help_page(self, p, start):
        p.display.key("F1")
        shown = p.help_page()
        self.expect(p.scene.table_at(shown, scene.TABLE_HELP).data
                    == p.scene.table_at(start, scene.TABLE_START).data,
                    "the help page does not carry the table of the start page")
        Player.keep(shown, "help.png")
        p.display.key("F1")
        hidden = p.on_page("start")
        x, y = scene.HELP_PAGE
        area = (x, y, p.scene.help_page.width, p.scene.help_page.height)
        self.expect(hidden.crop(*area).same_fraction(start.crop(*area)) >= 0.99,
                    "closing the help page does not bring back the start page as it was")

    def check_play_begins(self, p):
        p.display.key("F5")
        first_play = p.on_page("play")
        for side in ("left", "right"):
            self.expect(p.scene.horse_frame(first_play, side) == 0,
                        f"the {side} horse is not unhurt when play begins")
            self.expect(p.scene.lives_frame(first_play, side) == 0,
                        f"the {side} lives display is not full when play begins")
        score_zero = first_play.crop(*scene.SCORE_DIGITS)
        self.expect(Scene.white_extent(first_play, scene.SCORE_DIGITS) > 0,
                    "no score digits when play begins")

        previous = [p.shoot()]

        def falls(shot):
            found = apple_with_task_falls(p.scene, previous[0], shot)
            if not found:
                previous[0] = shot
            return found
        moved = p.wait_until("apple with its task falling between two screenshots", falls,
                             timeout=30, interval=1.5)
        for apple in p.scene.apples(moved):
            if apple.y0 > 0:
                self.expect(not Scene.has_colon(p.scene.task_text(moved, apple)),
                            "a task with a colon in multiplication mode")
        return first_play, score_zero

    def check_answers(self, p, first_play, score_zero):
        """Every number from 1 to 100, each with Space: a screenshot right after each Space
        until the bolts are seen, then the rest in one go."""
        lightning = None
        remaining = list(range(1, 101))
        while remaining and lightning is None:
            p.answer(remaining.pop(0))
            shot = p.shoot()
            if p.scene.bolt_pixels(shot) >= 10:
                lightning = shot
        if remaining:
            p.answers(remaining)
        self.expect(lightning is not None, "no yellow and red bolts after any of 1 to 100")
        p.wait_until("change of the score digits",
                     lambda s: s.crop(*scene.SCORE_DIGITS).data != score_zero.data)
        return lightning

    def check_horses_until_game_over(self, p, first_play):
        seen = {("horse", side): [] for side in ("left", "right")}
        seen.update({("lives", side): [] for side in ("left", "right")})
        last_play = [first_play]

        def watch(shot):
            page = p.scene.page(shot)
            if page == "play":
                last_play[0] = shot
                for side in ("left", "right"):
                    seen["horse", side].append(p.scene.horse_frame(shot, side))
                    seen["lives", side].append(p.scene.lives_frame(shot, side))
            return page == "gameover"
        over = p.wait_until("game-over page", watch, timeout=GAME_OVER_WAIT, interval=0.5)
        for (what, side), frames in seen.items():
            frames = [0] + [f for f in frames if f is not None]
            self.expect(frames == sorted(frames),
                        f"the {side} {what} went back to fewer hits: {frames}")
            self.expect(frames[-1] > 0, f"the {side} {what} never showed a hit: {frames}")
        return last_play[0], over

    def check_stored_game(self, p, games_before, last_play, over):
        self.expect(Scene.white_extent(over, scene.FINAL_SCORE) > 0,
                    "no final score on the game-over page")
        # The same rendered score: its fully white pixels lie alike in both places.
        final = over.crop(*scene.FINAL_SCORE).mask((255, 255, 255), (255, 255, 255))
        shown = last_play.crop(*scene.SCORE_DIGITS).mask((255, 255, 255), (255, 255, 255))
        self.expect(final == shown, "the game-over page shows another score than play did")
        games = p.stored_games()
        self.expect(len(games) == len(games_before) + 1,
                    f"not exactly one new stored game: {games}")
        name, points = games[-1]
        self.assertEqual(name, "Jrgen1")
        self.assertGreater(points, 0)
        self.assertEqual(points % 100, 0, "every solved apple is worth whole hundreds")

    def check_another_game(self, p, first_play, score_zero):
        p.display.key("Return")
        again = p.on_page("play")
        for side in ("left", "right"):
            self.expect(p.scene.horse_frame(again, side) == 0,
                        f"the {side} horse is still hurt in the new game")
            self.expect(p.scene.lives_frame(again, side) == 0,
                        f"the {side} lives are not full in the new game")
        self.expect(again.crop(*scene.SCORE_DIGITS).data == score_zero.data,
                    "the new game does not start from a score of zero")

    def check_back_to_start(self, p, first_start, games_before):
        p.display.key("F2")
        start = p.on_page("start")
        self.expect(Scene.white_extent(start, scene.NAME_FIELD) == 0,
                    "the start page still shows the last player's name")
        self.expect(p.scene.table_rows_with_text(start) == [True, False, False],
                    "the table does not list exactly the one finished game")
        before = p.scene.table_at(first_start, scene.TABLE_START)
        self.expect(p.scene.table_at(start, scene.TABLE_START).data != before.data,
                    "the table looks as it did before the game")
        self.expect(len(p.stored_games()) == len(games_before) + 1,
                    "the unfinished second game was stored")


class DivisionTasks(PlayerTest):
    def test_f12_and_f11_give_division_tasks_up_to_99(self):
        p = self.player
        p.on_page("start")
        p.display.key("F12", "F11", "F5")
        p.on_page("play")

        # Wait until four apples show their tasks, so answers from 21 to 99 almost surely
        # meet one of them (with answers up to 20 only, none would).
        def four_tasks(shot):
            return sum(1 for a in p.scene.apples(shot)
                       if a.y0 > 0 and len(p.scene.task_text(shot, a)) >= 3) >= 4
        shot = p.wait_until("four apples with tasks", four_tasks, timeout=40, interval=1.0)
        for apple in p.scene.apples(shot):
            if apple.y0 > 0:
                self.expect(Scene.has_colon(p.scene.task_text(shot, apple)),
                            f"a task without a colon at {apple}")
        before = shot.crop(*scene.SCORE_DIGITS)
        p.answers(range(21, 100))
        p.wait_until("apple solved by an answer from 21 to 99",
                     lambda s: s.crop(*scene.SCORE_DIGITS).data != before.data)
        p.display.key("Escape")
        self.assertEqual(p.ended(), 0, p.game.stderr)


class ClosingTheWindow(PlayerTest):
    def test_closing_the_window_during_play_ends_with_status_0(self):
        p = self.player
        p.on_page("start")
        p.display.key("F5")
        p.on_page("play")
        p.display.move(400, 300)
        # evilwm asks the window under the pointer to close on Ctrl+Alt+Escape.
        p.display.key("ctrl+alt+Escape")
        self.assertEqual(p.ended(), 0, p.game.stderr)
        self.assertEqual(p.stored_games(), [], "an unfinished game was stored")


if __name__ == "__main__":
    unittest.main(verbosity=2)
