"""The real game with a damaged runtime directory, under an X server so that the message boxes
really appear (and are closed as they come): every asset file missing, every asset file cut
to half its size, files missing together, and no audio device at all."""

import os
import re
import unittest

import faultkit
from faultkit import Session

FONT = "fonts/FreeSans.ttf"
CURSOR_NAMES = {"ImgData/cur_hand.bmp": "Hand", "ImgData/cur_std.bmp": "Pfeil"}
WITCH = ["ImgData/witchey.bmp", "ImgData/flashbgr.bmp"]
SOUNDS = ["Sound/sound.wav", "Sound/boing.wav", "Sound/success.wav", "Sound/fail.wav"]
SPRITES = ["ImgData/baum.bmp", "ImgData/gameover2.bmp", "ImgData/apple5.bmp",
           "ImgData/bonus3.bmp", "ImgData/pferdleft.bmp", "ImgData/pferdright.bmp",
           "ImgData/lives.bmp", "ImgData/showscore.bmp", "ImgData/startpage.bmp",
           "ImgData/helpscreen.bmp", "ImgData/helpscreen_back.bmp"]
TABLE = "ImgData/highscore.bmp"

# Every file the game reads, in the order it reads them: the framework's font and cursors,
# the witch, the sounds, the game's sprites, and the table bitmap at the first start-page frame.
READ_ORDER = [FONT, *CURSOR_NAMES, *WITCH, *SOUNDS, *SPRITES, TABLE]

DETAIL = r"Fehler: [^\n]*\n"


def expected_report(rel):
    """(box title, regular expression for the whole of standard error) of a file that cannot
    be loaded."""
    if rel == FONT:
        return "Fehlermeldung", re.escape("Konnte Schriftart nicht laden!\n") + DETAIL
    if rel in CURSOR_NAMES:
        # Without the hand the arrow is still loaded; under X it loads and makes its cursor,
        # so the hand's report stays the only one.
        words = f'Mouse Zeiger Bitmap "{CURSOR_NAMES[rel]}" konnte nicht geladen werden!\n'
        return "Fehlermeldung", re.escape(words) + DETAIL
    if rel in SOUNDS:
        # The detail line names the file, not an SDL error.
        return "Datei fehlt", re.escape(f"Konnte Sound-Datei nicht laden!\nFehler: {rel}\n")
    return "Fehlermeldung", re.escape(f"Fehler beim Laden der Bitmap: {rel}\n") + DETAIL


def remove(path):
    os.remove(path)


def halve(path):
    with open(path, "r+b") as f:
        f.truncate(os.path.getsize(path) // 2)


class DamagedAssets(faultkit.OnOneDisplay):
    def runtime_with(self, damage, *files):
        for rel in files:
            self.assertTrue(os.path.exists(faultkit.asset(rel)), f"{rel} is not built")
        rt = faultkit.runtime_with_own_copies(self, files)
        for rel in files:
            damage(os.path.join(rt, rel))
        return rt

    def assert_fatal(self, rt, reported):
        """The game shows one box about `reported`, writes only that report and ends with 1."""
        title, pattern = expected_report(reported)
        run = Session(self, self.display, rt)
        status = run.until_exit(40)
        self.assertEqual(status, 1, run.stderr)
        self.assertRegex(run.stderr, "^" + pattern + r"\Z")
        self.assertEqual(run.boxes, [title], run.stderr)

    def check_missing(self, rel):
        self.assert_fatal(self.runtime_with(remove, rel), rel)

    def check_halved(self, rel):
        # A file cut short must not load in part: a half sound or a font without its glyphs
        # is as fatal as a missing file.
        self.assert_fatal(self.runtime_with(halve, rel), rel)

    def test_first_missing_file_in_read_order_is_reported(self):
        # Several files gone at once: only the first one read is reported, whatever the others.
        cases = [
            ([FONT, "ImgData/cur_std.bmp"], FONT),
            (["ImgData/cur_std.bmp", "ImgData/witchey.bmp"], "ImgData/cur_std.bmp"),
            (["ImgData/flashbgr.bmp", "Sound/sound.wav", "ImgData/baum.bmp"],
             "ImgData/flashbgr.bmp"),
            (["Sound/fail.wav", "ImgData/baum.bmp", TABLE], "Sound/fail.wav"),
            (["ImgData/helpscreen_back.bmp", TABLE], "ImgData/helpscreen_back.bmp"),
        ]
        for files, reported in cases:
            with self.subTest(missing=files):
                self.assert_fatal(self.runtime_with(remove, *files), reported)

    def test_no_audio_device(self):
        rt = faultkit.runtime_copy(self, link_assets=True)
        env = self.display.env()
        del env["SDL_AUDIODRIVER"]  # this machine has no sound card
        run = Session(self, self.display, rt, env=env)
        self.assertEqual(run.until_exit(40), 1, run.stderr)
        # The reason is kept although the box is shown first.
        self.assertRegex(run.stderr, r"Konnte SDL_mixer nicht starten! Fehler: \S")
        self.assertEqual(run.boxes, ["Datei fehlt"])
        # Set-up stops at the sound player, before the font and the cursors.
        self.assertNotIn("Schriftart", run.stderr)
        self.assertNotIn("Mouse Zeiger", run.stderr)


def _slug(rel):
    return re.sub(r"[^A-Za-z0-9]+", "_", rel).strip("_")


def _add_file_cases():
    for rel in READ_ORDER:
        def missing(self, rel=rel):
            self.check_missing(rel)

        def halved(self, rel=rel):
            self.check_halved(rel)

        missing.__doc__ = f"{rel} missing"
        halved.__doc__ = f"{rel} cut to half its size"
        setattr(DamagedAssets, f"test_missing_{_slug(rel)}", missing)
        setattr(DamagedAssets, f"test_halved_{_slug(rel)}", halved)


_add_file_cases()

if __name__ == "__main__":
    unittest.main(verbosity=2)
