"""Zentaris played as a player would: the real binary under Xvfb with evilwm, keys and clicks
through xdotool, checked on screenshots and in the score database."""

import harness


class WholeGame(harness.Case):
    def test_a_finished_game_is_listed_under_the_typed_name(self):
        rt = self.runtime()
        run = self.start(rt)
        # The score, and the first row of the best three on the start page, in the game's image.
        score = lambda shot: run.view(shot)[10:43, 700:790].tobytes()
        best = lambda shot: run.view(shot)[400:420, 530:790].tobytes()
        empty = best(run.display.shot())
        run.key("K", "i", "m", "F12", "F5")  # divisions
        playing = score(run.page("play"))
        run.key(*harness.ANSWERS)
        run.see("points", lambda shot: score(shot) != playing)
        run.page("gameover", 150)
        self.assertEqual([(name, points > 0) for name, points in harness.scores(rt)],
                         [("Kim", True)], "(name, points > 0) of the games stored")
        run.key("F2")
        self.assertNotEqual(best(run.page("start")), empty, "the best three lack it")


class StartButton(harness.Case):
    def test_a_click_on_the_drawn_button_starts_a_game(self):
        # The image is letterboxed: 1.6 times as large, 32 pixels down; the button's middle lies at
        # (565, 527) of the image.
        run = self.start(self.runtime(), (1280, 1024))
        run.xdotool("mousemove", "--sync", "905", "876", "click", "1")
        run.page("play")
