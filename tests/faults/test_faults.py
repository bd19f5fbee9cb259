"""The real game on a hostile machine. A damaged asset or no audio device ends the start with a
message box (closed here as it comes), the report on standard error and exit status 1. A score
database the game cannot use is reported on standard error only, and play goes on."""

import os
import re
import resource
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402

SEEDED = [("Ada", 300), ("Bo", 200), ("Cy", 100)]
PICTURE = "Fehler beim Laden der Bitmap: ImgData/apple5.bmp\nFehler: "
# Each damaged asset: whether it is cut to its first half (else it is missing), the start of
# its report on standard error, and the title of the box.
DAMAGED = {
    ("fonts/FreeSans.ttf", False): ("Konnte Schriftart nicht laden!\nFehler: ", "Fehlermeldung"),
    ("ImgData/cur_hand.bmp", False): (
        'Mouse Zeiger Bitmap "Hand" konnte nicht geladen werden!\nFehler: ', "Fehlermeldung"),
    ("ImgData/apple5.bmp", True): (PICTURE, "Fehlermeldung"),
    ("ImgData/witchey.bmp", False): ("Fehler beim Laden der Bitmap: ImgData/witchey.bmp\n"
                                     "Fehler: ", "Fehlermeldung"),
    ("Sound/sound.wav", True): ("Konnte Sound-Datei nicht laden!\nFehler: Sound/sound.wav\n",
                                "Datei fehlt"),
    ("Sound/boing.wav", False): ("Konnte Sound-Datei nicht laden!\nFehler: Sound/boing.wav\n",
                                 "Datei fehlt"),
}
# Things at the database's path or at its companions': a FIFO, or a link to one elsewhere.
FIFOS = [("scores.db", False), ("scores.db-journal", False), ("scores.db-wal", False),
         ("scores.db-shm", False), ("scores.db-journal", True)]
OPEN_FAILURE = re.compile("Datenbankfehler: .+\nFehler: SQLite Datenbankfehler\n")


def replace(path, data):
    os.remove(path)
    with open(path, "wb") as f:
        f.write(data)


def content(path):
    with open(path, "rb") as f:
        return f.read()


class SetUp(harness.Case):
    def fatal(self, rt, limits=(), **env):
        """Status, standard error and message boxes of a start that must fail."""
        display = self.display(wm=False)  # the boxes need no window manager
        run = self.game(rt, display, env=dict(display.env, **env), limits=limits)
        return run.finish(), run.err, run.boxes

    def test_a_damaged_asset_ends_the_start_with_its_report(self):
        for (rel, cut), (report, title) in DAMAGED.items():
            with self.subTest(asset=rel, cut=cut):
                rt = self.runtime()
                path = os.path.join(rt, rel)
                if cut:
                    replace(path, content(path)[:os.path.getsize(path) // 2])
                else:
                    os.remove(path)
                status, err, boxes = self.fatal(rt)
                self.assertEqual(status, 1, err)
                self.assertTrue(err.startswith(report), f"the report on standard error: {err}")
                self.assertEqual(err.count("Fehler: "), 1, f"not exactly one report: {err}")
                self.assertEqual(boxes, [title], "the message boxes shown")

    def test_no_audio_device_ends_the_start_with_its_report(self):
        # The disk driver stands for a sound card: it cannot open a file in no directory.
        status, err, boxes = self.fatal(self.runtime(), SDL_AUDIODRIVER="disk",
                                        SDL_DISKAUDIOFILE="/none/out")
        self.assertEqual((status, boxes), (1, ["Datei fehlt"]), err)
        self.assertTrue(err.startswith("Konnte SDL_mixer nicht starten! Fehler: "), err)

    def test_a_picture_header_claiming_60000_by_60000_pixels_fails_before_allocating_them(self):
        rt = self.runtime()
        path = os.path.join(rt, "ImgData", "apple5.bmp")
        data = bytearray(content(path))
        data[18:26] = (60000).to_bytes(4, "little") * 2  # width and height
        replace(path, data)
        # Far below the 10 GB the header claims: a game that allocates first fails fast here.
        status, err, boxes = self.fatal(rt, limits=[(resource.RLIMIT_AS, 2 << 30)])
        self.assertEqual((status, boxes), (1, ["Fehlermeldung"]), err)
        self.assertTrue(err.startswith(PICTURE), err)
        self.assertNotIn("Out of memory", err, "the claimed size was allocated before the check")


class ScoreDatabase(harness.Case):
    def visit(self, rt, limits=()):
        """Start page, F5, play, Escape; the start page's table and the run."""
        run = self.start(self.display(), rt, limits=limits)
        rows = harness.table_rows(run.view(self.page(run, "start")))
        run.key("F5")
        self.page(run, "play")
        run.key("Escape")
        run.finish()
        return [row.any() for row in rows], run

    def test_a_fifo_at_or_beside_the_database_is_reported_at_once_and_play_goes_on(self):
        for name, linked in FIFOS:
            with self.subTest(fifo=name, linked=linked):
                rt = self.runtime(SEEDED)
                path = os.path.join(rt, "score", name)
                if linked:
                    os.mkfifo(os.path.join(rt, "fifo"))
                    os.symlink(os.path.join(rt, "fifo"), path)
                else:
                    if os.path.exists(path):
                        os.remove(path)
                    os.mkfifo(path)
                rows, run = self.visit(rt)
                self.assertEqual(run.proc.returncode, 0, run.err)
                self.assertTrue(OPEN_FAILURE.fullmatch(run.err), f"the report: {run.err}")
                self.assertEqual(rows, [True, False, False], "not the one fallback row")
                self.assertEqual(run.boxes, [], "a database fault showed a message box")

    def test_a_file_size_limit_is_reported_as_a_full_disk_and_play_goes_on(self):
        rt = self.runtime()  # no table yet: the game makes one
        rows, run = self.visit(rt, limits=[(resource.RLIMIT_FSIZE, 4096)])
        self.assertEqual(run.proc.returncode, 0, f"status after Escape; stderr:\n{run.err}")
        self.assertIn("Datenbankfehler: database or disk is full\n", run.err)


if __name__ == "__main__":
    unittest.main(verbosity=2)
