"""The real zentaris binary: exit status and standard error of a normal end and of the fatal
set-up paths."""

import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import headless  # noqa: E402

BUILT = os.environ["ZENTARIS_RUNTIME_DIR"]


class RuntimeCase(unittest.TestCase):
    def setUp(self):
        self.rt = headless.make_runtime_copy(BUILT)

    def tearDown(self):
        shutil.rmtree(self.rt, ignore_errors=True)

    def run_dummy(self, **env):
        """Runs the game under SDL's dummy video driver, where no message box can block."""
        game = headless.Game(self.rt, headless.base_env(SDL_VIDEODRIVER="dummy", **env))
        return game.wait(60), game.stderr


class SetUpFailsWithoutAScreen(RuntimeCase):
    """Without a display the colour cursors cannot be made, so every run ends at the cursors;
    what fails before them must say so."""

    def test_missing_arrow_bitmap(self):
        os.remove(os.path.join(self.rt, "ImgData", "cur_std.bmp"))
        status, err = self.run_dummy()
        self.assertEqual(status, 1)
        self.assertIn('Mouse Zeiger Bitmap "Pfeil" konnte nicht geladen werden!\nFehler: ', err)
        self.assertNotIn('"Pfeil" konnte nicht erstellt', err)

    def test_missing_hand_bitmap_still_tries_the_arrow(self):
        os.remove(os.path.join(self.rt, "ImgData", "cur_hand.bmp"))
        status, err = self.run_dummy()
        self.assertEqual(status, 1)
        self.assertIn('Mouse Zeiger Bitmap "Hand" konnte nicht geladen werden!\nFehler: ', err)
        self.assertIn('Mouse Zeiger "Pfeil" konnte nicht erstellt werden!\nFehler: ', err)

    def test_missing_font(self):
        os.remove(os.path.join(self.rt, "fonts", "FreeSans.ttf"))
        status, err = self.run_dummy()
        self.assertEqual(status, 1)
        self.assertIn("Konnte Schriftart nicht laden!\nFehler: ", err)
        self.assertNotIn("Mouse Zeiger", err)

    def test_no_audio_device(self):
        env = headless.base_env(SDL_VIDEODRIVER="dummy")
        del env["SDL_AUDIODRIVER"]  # this machine has no sound card
        game = headless.Game(self.rt, env)
        status, err = game.wait(60), game.stderr
        self.assertEqual(status, 1)
        self.assertIn("Konnte SDL_mixer nicht starten! Fehler: ", err)
        self.assertNotIn("Schriftart", err)


class RunsUnderX(RuntimeCase):
    def start(self, display):
        game = headless.Game(self.rt, display.env())
        wid = display.find_window("Zentaris")
        if wid is None:
            game.kill()
            self.fail("no window titled Zentaris appeared; stderr:\n" + game.stderr)
        return game, wid

    def test_full_screen_window_and_escape(self):
        with headless.Display() as display:
            game, wid = self.start(display)
            geo = display.window_geometry(wid)
            self.assertEqual((geo["Width"], geo["Height"]), (800, 600))
            self.assertEqual((geo["Absolute upper-left X"], geo["Absolute upper-left Y"]), (0, 0))
            display.key("Escape")
            self.assertEqual(game.wait(30), 0, game.stderr)

    def test_closing_the_window_ends_normally(self):
        with headless.Display() as display:
            game, wid = self.start(display)
            display.move(400, 300)
            # evilwm asks the window under the pointer to close on Ctrl+Alt+Escape.
            display.key("ctrl+alt+Escape")
            self.assertEqual(game.wait(30), 0, game.stderr)

    def test_fatal_path_shows_a_box_until_closed(self):
        os.remove(os.path.join(self.rt, "ImgData", "baum.bmp"))
        with headless.Display() as display:
            game = headless.Game(self.rt, display.env())
            closed = display.close_boxes(timeout=20)
            status = game.wait(30)
        self.assertEqual(closed, ["Fehlermeldung"])
        self.assertEqual(status, 1)
        self.assertIn("Fehler beim Laden der Bitmap: ImgData/baum.bmp\nFehler: ", game.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
