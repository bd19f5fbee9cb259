"""The learning record of the real binary: a game played as a player would under Xvfb, then its
report; the report's page shown in headless Chromium; and a record that cannot be written."""

import os
import shutil
import sqlite3
import subprocess
import tempfile

from PIL import Image

import harness

LIVES = ((221, 555), (457, 555))  # the lives display of each horse: four frames of 128 x 40
SCREENSHOTS = os.environ.get("ZENTARIS_SCREENSHOTS")  # a directory for the README's pictures
# Each level of a cell of the page's grid: its background, and the outcomes that make it.
LEVELS = (((0xf2, 0xf2, 0xf2), ()), ((0xd0, 0xd0, 0xd0), ("solved",)),
          ((0x21, 0x66, 0xac), ("solved",) * 3), ((0xfd, 0xb8, 0x63), ("solved",) * 4 + ("landed",)),
          ((0xb3, 0x58, 0x06), ("landed", "fell", "solved")))


def record(rt):
    return os.path.join(rt, "score", "record.db")


def level(a, b):
    """The level the page's record gives the fact a x b: a pattern over the grid."""
    return (7 * a + 3 * b) % len(LEVELS)


def write_record(rt):
    """One game of a player whose name holds markup: the facts of the grid by their level, and
    12 x 13 landed three times."""
    with sqlite3.connect(record(rt)) as db:
        db.executescript(
            "create table games (id integer primary key, player text, started text,"
            " task_range integer, operation text, score integer, finished integer,"
            " misses integer); create table apples (id integer primary key, game integer,"
            " shown_left integer, operation text, shown_right integer, fact_a integer,"
            " fact_b integer, outcome text, seconds real); pragma user_version = 1;"
            " insert into games values (1, '<script>Kim</script>', '2026-12-07', 20, 'x', 0, 1, 0)")
        facts = [(a, b) for a in range(1, 11) for b in range(1, 11)]
        db.executemany("insert into apples (game, shown_left, operation, shown_right, fact_a,"
                       " fact_b, outcome, seconds) values (1, ?, 'x', ?, ?, ?, ?, 3)",
                       [(a, b, a, b, outcome) for a, b in facts + [(12, 13)] * 3
                        for outcome in (LEVELS[level(a, b)][1] if b <= 10 else ("landed",))])
    db.close()


class RecordedGame(harness.Case):
    def hits(self, run, shot):
        """The hits both horses have taken, as the lives display shows them."""
        view, sheet = run.view(shot), harness.picture("lives.bmp")
        frames = [sheet[:, 128 * k:128 * k + 128] for k in range(4)]
        total = 0
        for x, y in LIVES:
            shares = [harness.likeness(view, frame, x, y) for frame in frames]
            total += shares.index(max(shares))
        return total

    def test_report_shows_the_apples_of_a_game_left_during_play(self):
        rt = self.runtime()
        run = self.start(self.display(), rt)
        self.page(run, "start")
        run.key("I", "d", "a")
        # Divisions up to 10 x 10: the first apple shows at once, and the help page holds it.
        run.key("F12", "F5", "F1")
        self.page(run, "help")
        run.key(*[key for n in range(1, 11) for key in (*str(n), "space")], "F1")
        self.see(run, "an apple on a horse", lambda shot: self.hits(run, shot) > 0, timeout=90)
        run.key("F1")
        landed = self.hits(run, self.page(run, "help"))
        run.key("Escape")
        self.assertEqual(run.finish(), 0, run.err)

        report = self.game(rt, args=["--report"])
        self.assertEqual(report.finish(), 0, report.err)
        self.assertIn("\nIda\n  Spiele: 1, davon 1 nicht zu Ende gespielt\n"
                      f"  Äpfel: 1 gelöst, {landed} auf einem Pferd gelandet, ", report.out)
        self.assertIn("\n  Antworten, die keinen Apfel lösten: 9\n", report.out)


class ReportPage(harness.Case):
    def test_browser_shows_each_fact_in_the_colour_of_its_level(self):
        rt = self.runtime()
        write_record(rt)
        page = os.path.join(rt, "page.html")
        made = self.game(rt, args=["--report-html", page])
        self.assertEqual(made.finish(), 0, made.err)
        with open(page) as f:
            html = f.read()
        self.assertIn("<h2>&lt;script&gt;Kim&lt;/script&gt;</h2>", html, "the name is not text")
        for markup in ("<script", "src=", "url(", "://", "<link"):
            self.assertNotIn(markup, html, "the page runs or fetches something")
        profile = tempfile.mkdtemp(prefix="zentaris-chromium-")
        self.addCleanup(shutil.rmtree, profile, True)
        shot = os.path.join(rt, "page.png")
        subprocess.run(["timeout", "-k", "5", "60", "chromium", "--headless", "--no-sandbox",
                        "--disable-gpu", "--no-first-run", "--disable-background-networking",
                        "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                        "--force-device-scale-factor=1", "--user-data-dir=" + profile,
                        "--window-size=800,1100", "--screenshot=" + shot, "file://" + page],
                       capture_output=True, timeout=90)
        self.assertTrue(os.path.isfile(shot), "Chromium made no screenshot")
        if SCREENSHOTS:
            shutil.copy(shot, os.path.join(SCREENSHOTS, "report.png"))
        picture = Image.open(shot).convert("RGB")
        # The grid's first cell: the first row with a run of one background colour 40 wide.
        colours = {colour for colour, _ in LEVELS}
        width, height = picture.size
        x, y = next((x, y) for y in range(height) for x in range(width - 40)
                    if picture.getpixel((x, y)) in colours and
                    len({picture.getpixel((x + i, y)) for i in range(40)}) == 1)
        w = next(i for i in range(1, 200) if picture.getpixel((x + i, y)) != picture.getpixel((x, y)))
        h = next(i for i in range(1, 200) if picture.getpixel((x, y + i)) != picture.getpixel((x, y)))
        for a in range(1, 11):
            for b in range(1, 11):
                corner = (x + (b - 1) * (w + 2) + 2, y + (a - 1) * (h + 2) + 2)
                with self.subTest(fact=f"{a} x {b}", at=corner):
                    self.assertEqual(picture.getpixel(corner), LEVELS[level(a, b)][0])


class RecordFaults(harness.Case):
    """The record is written when a game ends; one that cannot be written costs one line on
    standard error, and play goes on."""

    def read_only(self, rt):
        open(record(rt), "wb").close()
        self.immutable(record(rt))

    def corrupt(self, rt):
        with open(record(rt), "wb") as f:
            f.write(b"kein SQLite " * 100)

    def locked(self, rt):
        holder = sqlite3.connect(record(rt), isolation_level=None, check_same_thread=False)
        holder.execute("begin exclusive")
        self.addCleanup(holder.close)

    def play(self, display, fault):
        rt = self.runtime()
        getattr(self, fault)(rt)
        run = self.start(display, rt)
        self.page(run, "start")
        run.key("F5")
        self.page(run, "play")
        run.key("Escape")
        return run.finish(), run.err

    def test_each_fault_costs_one_line_and_play_goes_on(self):
        display = self.display()
        for fault in ("read_only", "corrupt", "locked"):
            with self.subTest(fault=fault):
                status, err = self.play(display, fault)
                self.assertEqual(status, 0, err)
                self.assertRegex(err, r"\ALernaufzeichnung nicht gespeichert \(score/record\.db\):"
                                      r" [^\n]+\n\Z")

