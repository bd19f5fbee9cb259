"""The real game on a hostile machine. A damaged asset or no audio device ends the start with a
message box (closed here as it comes), the report on standard error and exit status 1. A score
database the game cannot use is reported on standard error only, and play goes on."""

import os
import pathlib

import harness

# Each fault: the asset taken out, what is put in its place, the environment, and the start of
# standard error.
FAULTS = [
    ("ImgData/witchey.bmp", None, {},
     "Fehler beim Laden der Bitmap: ImgData/witchey.bmp\nFehler: "),
    ("ImgData/cur_hand.bmp", None, {},
     'Mouse Zeiger Bitmap "Hand" konnte nicht geladen werden!\nFehler: '),
    ("fonts/FreeSans.ttf", None, {}, "Konnte Schriftart nicht laden!\nFehler: "),
    ("Sound/boing.wav", None, {}, "Konnte Sound-Datei nicht laden!\nFehler: Sound/boing.wav\n"),
    # A header that claims 60000 x 60000 pixels, 10 GB.
    ("ImgData/apple5.bmp", lambda data: data[:18] + (60000).to_bytes(4, "little") * 2 + data[26:],
     {}, "Fehler beim Laden der Bitmap: ImgData/apple5.bmp\nFehler: "),
    # The disk driver stands for a sound card: it cannot open a file in no directory.
    ("", None, {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": "/none/out"},
     "Konnte SDL_mixer nicht starten! Fehler: "),
]


class SetUp(harness.Case):
    def test_a_fault_ends_the_start_with_its_message_and_status_1(self):
        display = self.display()
        for asset, forge, env, message in FAULTS:
            rt = self.runtime()
            if asset:
                path = pathlib.Path(rt, asset)
                data = path.read_bytes()
                path.unlink()  # a link into the build
                if forge:
                    path.write_bytes(forge(data))
            # Far below the 10 GB a forged header claims: a game that allocates first fails here.
            run = self.game(rt, display, env=dict(display.env, **env), limits=["--as=2147483648"])
            self.assertEqual(run.finish(), 1, run.err)
            self.assertTrue(run.err.startswith(message), run.err)
            self.assertNotIn("Out of memory", run.err)


class ScoreDatabase(harness.Case):
    def test_play_goes_on_past_a_score_database_the_game_cannot_use(self):
        display = self.display()
        # A FIFO beside the database, and a file-size limit below a new database's size.
        for fifo, limits, said in (("scores.db-journal", (), "Fehler: SQLite Datenbankfehler\n"),
                                   ("", ["--fsize=4096"],
                                    "Datenbankfehler: database or disk is full\n")):
            rt = self.runtime()
            if fifo:
                os.mkfifo(f"{rt}/score/{fifo}")
            run = self.start(display, rt, limits=limits)
            run.key("F5")
            self.page(run, "play")
            run.key("Escape")
            self.assertEqual(run.finish(), 0, run.err)
            self.assertIn(said, run.err)
