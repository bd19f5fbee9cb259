"""The real game under faults. A missing asset or no audio device ends the set-up with a message
box (closed here as it comes), the report on standard error and exit status 1. A score database
the game cannot use is reported on standard error only, and play goes on."""

import os
import random
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402

SEEDED = [("Ada", 300), ("Bo", 200)]
BITMAPS = ["witchey", "flashbgr", "baum", "gameover2", "apple5", "bonus3", "pferdleft",
           "pferdright", "lives", "showscore", "startpage", "helpscreen", "helpscreen_back",
           "highscore"]
# Each asset file: the report it leaves on standard error when missing, and the box's title.
MISSING = {
    "fonts/FreeSans.ttf": ("Konnte Schriftart nicht laden!\nFehler: ", "Fehlermeldung"),
    "ImgData/cur_hand.bmp": ('Mouse Zeiger Bitmap "Hand" konnte nicht geladen werden!\n'
                             "Fehler: ", "Fehlermeldung"),
    "ImgData/cur_std.bmp": ('Mouse Zeiger Bitmap "Pfeil" konnte nicht geladen werden!\n'
                            "Fehler: ", "Fehlermeldung"),
    **{f"ImgData/{name}.bmp": (f"Fehler beim Laden der Bitmap: ImgData/{name}.bmp\nFehler: ",
                               "Fehlermeldung") for name in BITMAPS},
    **{f"Sound/{name}.wav": (f"Konnte Sound-Datei nicht laden!\nFehler: Sound/{name}.wav\n",
                             "Datei fehlt") for name in ("sound", "boing", "success", "fail")},
}
# Files cut in half end the game as if missing: the font, an opaque picture, a sheet, a sound.
CUT = ["fonts/FreeSans.ttf", "ImgData/baum.bmp", "ImgData/apple5.bmp", "Sound/sound.wav",
       "Sound/boing.wav"]


def report(error, detail):
    return f"Datenbankfehler: {error}\nFehler: {detail}\n"


def database(rt):
    return os.path.join(rt, "score", "scores.db")


def read_only(case, rt):
    case.immutable(database(rt))


def corrupt(case, rt):
    with open(database(rt), "wb") as f:
        f.write(random.Random(6).randbytes(8192))


def locked(case, rt):
    """Another process holds an exclusive lock until the test ends."""
    holder = subprocess.Popen(
        [sys.executable, "-c", "import sqlite3, sys; db = sqlite3.connect(sys.argv[1], "
         "isolation_level=None); db.execute('begin exclusive'); print('locked', flush=True); "
         "sys.stdin.read()", database(rt)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
        text=True)
    case.addCleanup(holder.communicate)
    case.assertEqual(holder.stdout.readline(), "locked\n", "the lock was not taken")


def impossible_to_create(case, rt):
    os.remove(database(rt))
    os.rmdir(os.path.join(rt, "score"))
    case.immutable(rt)


def fifo(case, rt):
    os.remove(database(rt))
    os.mkfifo(database(rt))


OPEN, CREATE, READ = "SQLite Datenbankfehler", "Kann Datenbanktabelle nicht anlegen", \
    "Kann Highscore nicht ermitteln"
# Each fault: how it is made on a database seeded with SEEDED, and what standard error says.
DATABASE_FAULTS = {
    "read-only": (read_only, ""),
    "corrupt": (corrupt, report("file is not a database", CREATE)
                + report("file is not a database", READ)),
    "locked": (locked, report("database is locked", CREATE) + report("database is locked", READ)),
    # The game also fails to write the learning record of the game left with Escape.
    "impossible to create": (impossible_to_create, report("unable to open database file", OPEN)
                             + "Lernaufzeichnung nicht gespeichert (score/record.db): unable to "
                               "open database file\n"),
    "a FIFO at its path": (fifo, report("unable to open database file", OPEN)),
}


def content(path):
    if not os.path.isfile(path):
        return None
    with open(path, "rb") as f:
        return f.read()


class SetUpFaults(harness.Case):
    def fatal_run(self, display, rt, env=None):
        run = harness.Run(self, rt, display, env=env)
        return run.finish(), run.err, run.boxes

    def check_fatal(self, outcome, words, title):
        status, err, boxes = outcome
        self.assertEqual(status, 1, err)
        self.assertIn(words, err, "the report on standard error")
        self.assertEqual(err.count("Fehler: "), 1, f"not exactly one report: {err}")
        self.assertEqual(boxes, [title], "the message boxes shown")

    def damaged(self, display, item):
        """A run without the asset, or with only the first half of it."""
        how, rel = item
        rt = self.runtime()
        path = os.path.join(rt, rel)
        with open(path, "rb") as f:
            half = f.read()[:os.path.getsize(path) // 2]
        os.remove(path)
        if how == "cut":
            with open(path, "wb") as f:
                f.write(half)
        return self.fatal_run(display, rt)

    def test_each_missing_or_cut_asset_is_fatal_with_its_report(self):
        items = [("missing", rel) for rel in MISSING] + [("cut", rel) for rel in CUT]
        # The boxes need no window manager.
        outcomes = harness.take_turns(self, self.damaged, items, wm=False)
        for how, rel in items:
            with self.subTest(how=how, asset=rel):
                self.check_fatal(outcomes[(how, rel)], *MISSING[rel])

    def test_no_audio_device_is_fatal_with_its_report(self):
        display = harness.Display(self, wm=False)
        # The disk driver stands for a sound card: it cannot open a file in no directory.
        env = dict(display.env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE="/nonexistent/out")
        self.check_fatal(self.fatal_run(display, self.runtime(), env),
                         "Konnte SDL_mixer nicht starten! Fehler: ", "Datei fehlt")


class DatabaseFaults(harness.Case):
    def visit(self, display, fault):
        """Start page, F5, play, Escape on a database with the fault; what the run left."""
        rt = self.runtime(seed=SEEDED)
        DATABASE_FAULTS[fault][0](self, rt)
        before = content(database(rt))
        run = self.start(display, rt)
        self.page(run, "start")
        display.key("F5")
        self.page(run, "play")
        display.key("Escape")
        return run.finish(), run.err, run.boxes, before, content(database(rt))

    def test_each_fault_is_reported_and_play_goes_on(self):
        outcomes = harness.take_turns(self, self.visit, list(DATABASE_FAULTS))
        for fault, (_, reports) in DATABASE_FAULTS.items():
            with self.subTest(fault=fault):
                status, err, boxes, before, after = outcomes[fault]
                self.assertEqual(status, 0, err)
                self.assertEqual(err, reports, "the reports on standard error")
                self.assertEqual(boxes, [], "a database fault showed a message box")
                self.assertEqual(after, before, "the database file changed")


if __name__ == "__main__":
    unittest.main(verbosity=2)
