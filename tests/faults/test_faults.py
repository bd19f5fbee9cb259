"""The real game on a hostile machine. A damaged asset or no audio device ends the start with a
message box (closed here as it comes), the report on standard error and exit status 1. A score
database the game cannot use is reported on standard error only, and play goes on."""

import os
import pathlib

import harness

# Each fault: the asset taken out, the header put in its place if any (60000 x 60000 pixels, 10
# GB), the environment, and the start of standard error.
FAULTS = [
    ("ImgData/witchey.bmp", b"", {}, "Fehler beim Laden der Bitmap: ImgData/witchey.bmp\nFehler: "),
    ("ImgData/cur_hand.bmp", b"", {},
     'Mouse Zeiger Bitmap "Hand" konnte nicht geladen werden!\nFehler: '),
    ("fonts/FreeSans.ttf", b"", {}, "Konnte Schriftart nicht laden!\nFehler: "),
    ("Sound/boing.wav", b"", {}, "Konnte Sound-Datei nicht laden!\nFehler: Sound/boing.wav\n"),
    ("ImgData/apple5.bmp", b"\x60\xea\0\0" * 2, {},
     "Fehler beim Laden der Bitmap: ImgData/apple5.bmp\nFehler: "),
    # The disk driver stands for a sound card: it cannot open a file in no directory.
    ("", b"", {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": "/none/out"},
     "Konnte SDL_mixer nicht starten! Fehler: "),
]


class SetUp(harness.Case):
    def test_a_fault_ends_the_start_with_its_message_and_status_1(self):
        for asset, header, env, message in FAULTS:
            rt = self.runtime()
            if asset:
                path = pathlib.Path(rt, asset)
                data = path.read_bytes()
                path.unlink()  # a link into the build
                if header:
                    path.write_bytes(data[:18] + header + data[26:])
            # Far below the 10 GB a forged header claims: a game that allocates first fails here.
            run = self.game(rt, (800, 600), limits=["--as=2147483648"], **env)
            self.assertEqual(run.finish(), 1, run.err)
            self.assertTrue(run.err.startswith(message), run.err)
            self.assertNotIn("Out of memory", run.err)


class ScoreDatabase(harness.Case):
    def test_play_goes_on_past_a_score_database_the_game_cannot_use(self):
        # A FIFO beside the database, and a file-size limit below a new database's size.
        for fifo, limits, said in (("scores.db-journal", [], "Fehler: SQLite Datenbankfehler\n"),
                                   ("", ["--fsize=4096"],
                                    "Datenbankfehler: database or disk is full\n")):
            rt = self.runtime()
            if fifo:
                os.mkfifo(f"{rt}/score/{fifo}")
            run = self.start(rt, limits=limits)
            run.key("F5")
            run.page("play")
            run.key("Escape")
            self.assertEqual(run.finish(), 0, run.err)
            self.assertIn(said, run.err)
