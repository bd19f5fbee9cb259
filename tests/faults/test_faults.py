"""The real game on a hostile machine. A damaged asset or no audio device ends the start with a
message box (closed here as it comes), the report on standard error and exit status 1. A score
database the game cannot use is reported on standard error only, and play goes on."""

import os
import pathlib
import resource

import harness

SEEDED = [("Ada", 300), ("Bo", 200), ("Cy", 100)]
PICTURE = "Fehler beim Laden der Bitmap: ImgData/apple5.bmp\nFehler: "
# Each damaged asset: whether it is cut to its first half (else it is missing), the start of
# its report on standard error, and the title of the box.
DAMAGED = [
    ("fonts/FreeSans.ttf", False, "Konnte Schriftart nicht laden!\nFehler: ", "Fehlermeldung"),
    ("ImgData/cur_hand.bmp", False,
     'Mouse Zeiger Bitmap "Hand" konnte nicht geladen werden!\nFehler: ', "Fehlermeldung"),
    ("ImgData/apple5.bmp", True, PICTURE, "Fehlermeldung"),
    ("ImgData/witchey.bmp", False, "Fehler beim Laden der Bitmap: ImgData/witchey.bmp\nFehler: ",
     "Fehlermeldung"),
    ("Sound/sound.wav", True, "Konnte Sound-Datei nicht laden!\nFehler: Sound/sound.wav\n",
     "Datei fehlt"),
    ("Sound/boing.wav", False, "Konnte Sound-Datei nicht laden!\nFehler: Sound/boing.wav\n",
     "Datei fehlt"),
]
# Beside the database: a FIFO at one of its companion files, or a link there to a FIFO.
FIFOS = [("scores.db-journal", False), ("scores.db-wal", False), ("scores.db-shm", False),
         ("scores.db-journal", True)]
OPEN_FAILURE = r"\ADatenbankfehler: .+\nFehler: SQLite Datenbankfehler\n\Z"


def put(rt, rel, change=None):
    """Takes an asset out of the runtime directory, or puts change(its bytes) in its place."""
    path = pathlib.Path(rt, rel)
    data = path.read_bytes()
    path.unlink()
    if change:
        path.write_bytes(change(data))


class SetUp(harness.Case):
    def fatal(self, rt, limits=(), **env):
        """Status, standard error and message boxes of a start that must fail."""
        display = self.display(wm=False)  # the boxes need no window manager
        run = self.game(rt, display, env=dict(display.env, **env), limits=limits)
        return run.finish(), run.err, run.boxes

    def test_a_damaged_asset_ends_the_start_with_its_report(self):
        for rel, cut, report, title in DAMAGED:
            with self.subTest(asset=rel, cut=cut):
                rt = self.runtime()
                put(rt, rel, cut and (lambda data: data[:len(data) // 2]))
                status, err, boxes = self.fatal(rt)
                self.assertEqual((status, boxes, err.count("Fehler: ")), (1, [title], 1), err)
                self.assertTrue(err.startswith(report), err)

    def test_no_audio_device_ends_the_start_with_its_report(self):
        # The disk driver stands for a sound card: it cannot open a file in no directory.
        status, err, boxes = self.fatal(self.runtime(), SDL_AUDIODRIVER="disk",
                                        SDL_DISKAUDIOFILE="/none/out")
        self.assertEqual((status, boxes), (1, ["Datei fehlt"]), err)
        self.assertTrue(err.startswith("Konnte SDL_mixer nicht starten! Fehler: "), err)

    def test_a_picture_header_claiming_60000_by_60000_pixels_fails_before_allocating_them(self):
        rt = self.runtime()
        put(rt, "ImgData/apple5.bmp",
            lambda data: data[:18] + (60000).to_bytes(4, "little") * 2 + data[26:])
        # Far below the 10 GB the header claims: a game that allocates first fails fast here.
        status, err, boxes = self.fatal(rt, [(resource.RLIMIT_AS, 2 << 30)])
        self.assertEqual((status, boxes), (1, ["Fehlermeldung"]), err)
        self.assertTrue(err.startswith(PICTURE), err)
        self.assertNotIn("Out of memory", err, "the claimed size was allocated before the check")


class ScoreDatabase(harness.Case):
    def visit(self, rt, limits=()):
        """Start page, F5, play, Escape; which rows of the start page's table show text, and the
        finished run."""
        run = self.start(self.display(), rt, limits=limits)
        rows = harness.table_rows(run.view(self.page(run, "start")))
        run.key("F5")
        self.page(run, "play")
        run.key("Escape")
        run.finish()
        return [any(row) for row in rows], run

    def test_a_fifo_beside_the_database_is_reported_at_once_and_play_goes_on(self):
        for name, linked in FIFOS:
            with self.subTest(fifo=name, linked=linked):
                rt = self.runtime(SEEDED)
                fifo = os.path.join(rt, "score", "fifo" if linked else name)
                os.mkfifo(fifo)
                if linked:
                    os.symlink(fifo, os.path.join(rt, "score", name))
                rows, run = self.visit(rt)
                self.assertEqual((run.proc.returncode, run.boxes), (0, []), run.err)
                self.assertRegex(run.err, OPEN_FAILURE)
                self.assertEqual(rows, [True, False, False], "not the one fallback row")

    def test_a_file_size_limit_is_reported_as_a_full_disk_and_play_goes_on(self):
        # No table yet: the game makes one, larger than the limit of 4 KiB.
        rows, run = self.visit(self.runtime(), [(resource.RLIMIT_FSIZE, 4096)])
        self.assertEqual(run.proc.returncode, 0, run.err)
        self.assertIn("Datenbankfehler: database or disk is full\n", run.err)
