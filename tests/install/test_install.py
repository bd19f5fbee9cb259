"""The installed game: `cmake --install` into temporary prefixes, the launcher under Xvfb, the
players' own directories, the desktop entry, the AppStream data and the Debian package.

Everything happens below one temporary directory (prefixes, HOME directories, the package), so
no player's real score table is ever touched. Every process is bounded by a timeout."""

import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import headless  # noqa: E402

BUILD = os.environ["ZENTARIS_BUILD_DIR"]
LAUNCH_TIMEOUT = 60  # seconds a launched game may live
DATA_DIRS = ("ImgData", "Sound", "fonts")
LIBRARY_PACKAGES = ("libsdl2-2.0-0", "libsdl2-mixer-2.0-0", "libsdl2-ttf-2.0-0", "libsqlite3-0")
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SCORE_TABLE = ("create table if not exists scores "
               "(id INTEGER PRIMARY KEY, name TEXT, score INTEGER DEFAULT 0)")

WORK = None


def setUpModule():
    global WORK
    WORK = tempfile.mkdtemp(prefix="zentaris-install-")


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


def scratch(name):
    path = os.path.join(WORK, name)
    os.makedirs(path)
    return path


def install(prefix):
    out = subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix],
                         capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        raise headless.TestFailure("cmake --install failed:\n" + out.stdout + out.stderr)
    return prefix


_installed = {}


def installed(name):
    """A prefix with the game installed, made once per name for the whole run."""
    if name not in _installed:
        _installed[name] = install(scratch(name))
    return _installed[name]


def player_env(home, base=None, **extra):
    env = dict(base if base is not None else headless.base_env())
    env.pop("XDG_DATA_HOME", None)
    env["HOME"] = home
    env.update(extra)
    return env


def workdir_of(home):
    return os.path.join(home, ".local", "share", "zentaris")


def sql(db, statement):
    out = subprocess.run(["sqlite3", db, statement], capture_output=True, text=True, timeout=30)
    if out.returncode != 0:
        raise headless.TestFailure(f"sqlite3 {statement!r} failed: {out.stderr}")
    return out.stdout


def store_score(home, name, score):
    db = os.path.join(workdir_of(home), "score", "scores.db")
    sql(db, SCORE_TABLE)
    sql(db, f"insert into scores (name, score) values ('{name}', {score})")


def stored_scores(home):
    db = os.path.join(workdir_of(home), "score", "scores.db")
    if not os.path.exists(db):
        return []
    rows = sql(db, "select name, score from scores order by id").splitlines()
    return [tuple(row.split("|")) for row in rows]


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise headless.TestFailure(f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


class Launch:
    """One start of the launcher, bounded by timeout -k 5."""

    def __init__(self, command, env, cwd):
        self.proc = subprocess.Popen(
            ["timeout", "-k", "5", str(LAUNCH_TIMEOUT), *command], env=env, cwd=cwd,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.stderr = ""

    def wait(self, timeout=30):
        try:
            _, self.stderr = self.proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise headless.TestFailure(f"the launched game did not end within {timeout} s")
        return self.proc.returncode

    def kill(self):
        try:
            os.killpg(self.proc.pid, 9)
        except ProcessLookupError:
            pass
        try:
            _, self.stderr = self.proc.communicate(timeout=10)
        except subprocess.TimeoutExpired:
            pass

    def game_pid(self):
        """The process the launcher became (the child of timeout)."""
        path = f"/proc/{self.proc.pid}/task/{self.proc.pid}/children"
        try:
            with open(path) as f:
                children = f.read().split()
        except OSError:
            return None
        return int(children[0]) if children else None


def opened_files(pid):
    paths = []
    for fd in glob.glob(f"/proc/{pid}/fd/*"):
        try:
            paths.append(os.readlink(fd))
        except OSError:
            pass
    return paths


class LauncherCase(unittest.TestCase):
    def play_and_quit(self, display, command, home, cwd=None, **extra):
        """Starts the launcher under X, waits for the window, presses Escape; returns what the
        running game showed of itself: executable, working directory, open files."""
        env = player_env(home, display.env(), **extra)
        run = Launch(command, env, cwd or home)
        if display.find_window("Zentaris") is None:
            run.kill()
            self.fail("no window titled Zentaris appeared; stderr:\n" + run.stderr)
        pid = run.game_pid()
        seen = {"exe": os.readlink(f"/proc/{pid}/exe"), "cwd": os.readlink(f"/proc/{pid}/cwd"),
                "files": []}
        deadline = time.time() + 10
        while time.time() < deadline:
            seen["files"] = opened_files(pid)
            if any(p.endswith("FreeSans.ttf") for p in seen["files"]):
                break
            time.sleep(0.2)
        display.key("Escape")
        self.assertEqual(run.wait(30), 0, run.stderr)
        return seen

    def assertLinksInto(self, workdir, prefix):
        data = os.path.realpath(os.path.join(prefix, "share", "zentaris"))
        for name in DATA_DIRS:
            link = os.path.join(workdir, name)
            self.assertTrue(os.path.islink(link), f"{link} is not a link")
            self.assertEqual(os.readlink(link), os.path.join(data, name))

    def assertGameFromInstalledTree(self, seen, prefix, workdir):
        root = os.path.realpath(prefix)
        self.assertEqual(seen["exe"], os.path.join(root, "libexec", "zentaris", "zentaris"))
        self.assertEqual(seen["cwd"], os.path.realpath(workdir))
        fonts = [p for p in seen["files"] if p.endswith("FreeSans.ttf")]
        self.assertTrue(fonts, "the game holds no font open")
        for path in fonts:
            self.assertTrue(path.startswith(os.path.join(root, "share", "zentaris") + "/"), path)


class InstalledTree(unittest.TestCase):
    def setUp(self):
        self.prefix = installed("prefix-a")

    def test_launcher_game_and_data_land_under_the_prefix(self):
        launcher = os.path.join(self.prefix, "bin", "zentaris")
        self.assertTrue(os.access(launcher, os.X_OK))
        with open(launcher, "rb") as f:
            self.assertEqual(f.readline(), b"#!/bin/sh\n")
        game = os.path.join(self.prefix, "libexec", "zentaris", "zentaris")
        self.assertTrue(os.access(game, os.X_OK))
        with open(game, "rb") as f:
            self.assertEqual(f.read(4), b"\x7fELF")
        staged = os.path.join(BUILD, "game")
        for name in DATA_DIRS:
            self.assertEqual(sorted(os.listdir(os.path.join(self.prefix, "share", "zentaris", name))),
                             sorted(os.listdir(os.path.join(staged, name))), name)
        self.assertIn("FreeSans.ttf", os.listdir(os.path.join(self.prefix, "share", "zentaris", "fonts")))

    def test_no_score_table_is_installed(self):
        for _, dirs, files in os.walk(self.prefix):
            self.assertNotIn("score", dirs)
            self.assertNotIn("scores.db", files)

    def test_menu_icon_in_every_size(self):
        hicolor = os.path.join(self.prefix, "share", "icons", "hicolor")
        for size in ICON_SIZES:
            png = os.path.join(hicolor, f"{size}x{size}", "apps", "zentaris.png")
            self.assertEqual(png_size(png), (size, size), png)
        svg = os.path.join(hicolor, "scalable", "apps", "zentaris.svg")
        with open(svg) as f:
            self.assertIn("<svg", f.read())

    def test_desktop_entry_is_valid_and_starts_the_launcher(self):
        entry = os.path.join(self.prefix, "share", "applications", "zentaris.desktop")
        out = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True,
                             timeout=30)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
        self.assertNotIn("error:", out.stdout + out.stderr)
        with open(entry, encoding="utf-8") as f:
            keys = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertEqual(keys["Exec"], "zentaris")
        self.assertEqual(keys["Icon"], "zentaris")
        self.assertEqual(keys["Categories"], "Game;Education;")
        self.assertIn("Äpfeln", keys["Comment"])

    @unittest.skipUnless(shutil.which("appstreamcli"), "appstreamcli is not installed")
    def test_metainfo_is_valid(self):
        metainfo = glob.glob(os.path.join(self.prefix, "share", "metainfo", "*.metainfo.xml"))
        self.assertEqual(len(metainfo), 1, metainfo)
        out = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo[0]],
                             capture_output=True, text=True, timeout=60)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)


class PlayerDirectories(LauncherCase):
    """The launcher prepares each player's working directory; scores stay with the player."""

    def test_scores_survive_restart_and_reinstall_and_stay_with_their_player(self):
        prefix = installed("prefix-a")
        anna, ben = scratch("home-anna"), scratch("home-ben")
        path = os.path.join(prefix, "bin") + os.pathsep + os.environ.get("PATH", "")
        with headless.Display() as display:
            seen = self.play_and_quit(display, ["zentaris"], anna, PATH=path)
            workdir = workdir_of(anna)
            self.assertLinksInto(workdir, prefix)
            self.assertGameFromInstalledTree(seen, prefix, workdir)
            self.assertTrue(os.path.isdir(os.path.join(workdir, "score")))
            self.assertFalse(os.path.islink(os.path.join(workdir, "score")))

            store_score(anna, "Anna", 4200)
            self.play_and_quit(display, ["zentaris"], anna, PATH=path)
            self.assertIn(("Anna", "4200"), stored_scores(anna))

            install(prefix)
            self.play_and_quit(display, ["zentaris"], anna, PATH=path)
            self.assertIn(("Anna", "4200"), stored_scores(anna))

            self.play_and_quit(display, ["zentaris"], ben, PATH=path)
            self.assertLinksInto(workdir_of(ben), prefix)
            self.assertNotIn(("Anna", "4200"), stored_scores(ben))
            self.assertIn(("Anna", "4200"), stored_scores(anna))

    def test_moved_installation_relinks_and_keeps_scores(self):
        old, new = installed("prefix-a"), installed("prefix-b")
        home = scratch("home-moved")
        with headless.Display() as display:
            self.play_and_quit(display, [os.path.join(old, "bin", "zentaris")], home)
            store_score(home, "Clara", 900)
            seen = self.play_and_quit(display, [os.path.join(new, "bin", "zentaris")], home)
        self.assertLinksInto(workdir_of(home), new)
        self.assertGameFromInstalledTree(seen, new, workdir_of(home))
        self.assertEqual(stored_scores(home), [("Clara", "900")])


class LauncherWithoutDisplay(LauncherCase):
    """Under SDL's dummy video driver the game stops at its cursors with status 1: enough to
    see what the launcher prepared and that it hands the status on."""

    def launch_dummy(self, command, home, **extra):
        env = player_env(home, headless.base_env(SDL_VIDEODRIVER="dummy"), **extra)
        run = Launch(command, env, home)
        return run.wait(60), run.stderr

    def test_game_status_is_passed_on(self):
        prefix = installed("prefix-a")
        home = scratch("home-status")
        status, err = self.launch_dummy([os.path.join(prefix, "bin", "zentaris")], home)
        self.assertEqual(status, 1, err)
        self.assertIn("Mouse Zeiger", err)

    def test_xdg_data_home_decides_where_the_player_directory_is(self):
        prefix = installed("prefix-a")
        home, xdg = scratch("home-xdg"), scratch("xdg-data")
        self.launch_dummy([os.path.join(prefix, "bin", "zentaris")], home, XDG_DATA_HOME=xdg)
        self.assertLinksInto(os.path.join(xdg, "zentaris"), prefix)
        self.assertTrue(os.path.isdir(os.path.join(xdg, "zentaris", "score")))
        self.assertFalse(os.path.exists(workdir_of(home)))

    def test_stale_links_are_replaced_and_score_files_left_alone(self):
        prefix = installed("prefix-a")
        home = scratch("home-stale")
        workdir = workdir_of(home)
        os.makedirs(os.path.join(workdir, "score"))
        for name in DATA_DIRS:
            os.symlink(os.path.join("/nonexistent/old-zentaris", name), os.path.join(workdir, name))
        db = os.path.join(workdir, "score", "scores.db")
        sql(db, SCORE_TABLE)
        sql(db, "insert into scores (name, score) values ('Dora', 300)")
        with open(db, "rb") as f:
            before = f.read()
        self.launch_dummy([os.path.join(prefix, "bin", "zentaris")], home)
        self.assertLinksInto(workdir, prefix)
        with open(db, "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertEqual(os.listdir(os.path.join(workdir, "score")), ["scores.db"])

    def test_player_owned_directory_is_not_replaced(self):
        prefix = installed("prefix-a")
        home = scratch("home-own")
        own = os.path.join(workdir_of(home), "Sound")
        os.makedirs(own)
        with open(os.path.join(own, "mine.txt"), "w") as f:
            f.write("mine")
        _, err = self.launch_dummy([os.path.join(prefix, "bin", "zentaris")], home)
        self.assertFalse(os.path.islink(own))
        self.assertEqual(os.listdir(own), ["mine.txt"])
        self.assertIn("ist kein Verweis", err)

    def test_launcher_reached_through_a_link_finds_its_tree(self):
        prefix = installed("prefix-a")
        home = scratch("home-link")
        games = scratch("usr-games")
        os.symlink(os.path.join(prefix, "bin", "zentaris"), os.path.join(games, "zentaris"))
        status, err = self.launch_dummy([os.path.join(games, "zentaris")], home)
        self.assertEqual(status, 1, err)
        self.assertLinksInto(workdir_of(home), prefix)

    def test_launcher_without_its_tree_says_so(self):
        home = scratch("home-lonely")
        alone = scratch("lonely-bin")
        launcher = os.path.join(alone, "zentaris")
        shutil.copy2(os.path.join(installed("prefix-a"), "bin", "zentaris"), launcher)
        status, err = self.launch_dummy([launcher], home)
        self.assertEqual(status, 1)
        self.assertIn("Spieldaten nicht gefunden", err)
        self.assertFalse(os.path.exists(workdir_of(home)))


class DebianPackage(LauncherCase):
    deb = None

    @classmethod
    def setUpClass(cls):
        out_dir = scratch("deb")
        out = subprocess.run(["cpack", "-G", "DEB", "-B", out_dir,
                              "--config", os.path.join(BUILD, "CPackConfig.cmake")],
                             capture_output=True, text=True, timeout=300)
        if out.returncode != 0:
            raise headless.TestFailure("cpack failed:\n" + out.stdout + out.stderr)
        debs = glob.glob(os.path.join(out_dir, "*.deb"))
        if len(debs) != 1:
            raise headless.TestFailure(f"expected one .deb, found {debs}")
        cls.deb = debs[0]

    def field(self, name):
        out = subprocess.run(["dpkg-deb", "-f", self.deb, name], capture_output=True, text=True,
                             timeout=30, check=True)
        return out.stdout.strip()

    def test_depends_on_the_linked_runtime_libraries(self):
        depends = [d.strip().split(" ")[0] for d in self.field("Depends").split(",")]
        for package in LIBRARY_PACKAGES:
            self.assertIn(package, depends)

    def test_unpacked_package_starts_the_game(self):
        root = scratch("unpacked")
        subprocess.run(["dpkg", "-x", self.deb, root], check=True, timeout=60)
        prefix = os.path.join(root, "usr")
        home = scratch("home-deb")
        with headless.Display() as display:
            seen = self.play_and_quit(display, [os.path.join(prefix, "bin", "zentaris")], home)
        self.assertLinksInto(workdir_of(home), prefix)
        self.assertGameFromInstalledTree(seen, prefix, workdir_of(home))
        for path in ("share/applications/zentaris.desktop",
                     "share/icons/hicolor/48x48/apps/zentaris.png"):
            self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)


if __name__ == "__main__":
    unittest.main(verbosity=2)
