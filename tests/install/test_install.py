"""The installed game: `cmake --install` into a temporary prefix, the launcher and the players'
own directories, the menu entry, the AppStream data, the manual page and the Debian package.
Everything happens below one temporary directory; every process is bounded by a timeout."""

import glob
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

BUILD = os.environ["ZENTARIS_BUILD_DIR"]
WORK = tempfile.mkdtemp(prefix="zentaris-install-")
# Below the prefix: the launcher and the game, then files that must not be executable.
PROGRAMS = ("games/zentaris", "libexec/zentaris/zentaris")
FILES = ("share/man/man6/zentaris.6.gz", "share/doc/zentaris/copyright",
         "share/doc/zentaris/changelog.gz", "share/applications/zentaris.desktop",
         "share/metainfo/de.zentaris.Zentaris.metainfo.xml",
         "share/icons/hicolor/48x48/apps/zentaris.png")
# Tools that check what is installed below share/, and the file each checks.
CHECKERS = (("desktop-file-validate", "applications/zentaris.desktop"),
            ("appstreamcli validate --no-net", "metainfo/de.zentaris.Zentaris.metainfo.xml"),
            ("mandoc -T lint -W style", "man/man6/zentaris.6.gz"))
SCORES = "select name, score from scores order by id"


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


def run(args, timeout=120, **kwargs):
    return subprocess.run(["timeout", "-k", "5", str(timeout), *args], capture_output=True,
                          text=True, **kwargs)


def scratch(name):
    path = os.path.join(WORK, name)
    os.makedirs(path, exist_ok=True)
    return path


def install(prefix):
    out = run(["cmake", "--install", BUILD, "--prefix", prefix])
    assert out.returncode == 0, "cmake --install failed:\n" + out.stdout + out.stderr
    return prefix


def project_version():
    with open(os.path.join(BUILD, "CMakeCache.txt")) as f:
        return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", f.read(), re.M).group(1)


def player_env(home, display=None):
    """A player with this HOME; the game sees the given X display, or none at all."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("SDL_", "XDG_")) and k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update(HOME=home, SDL_AUDIODRIVER="dummy")
    if display:
        env["DISPLAY"] = display
    else:
        env["SDL_VIDEODRIVER"] = "dummy"
    return env


def score_db(home):
    return os.path.join(home, ".local/share/zentaris/score/scores.db")


def sql(home, statement):
    out = run(["sqlite3", score_db(home), statement])
    assert out.returncode == 0, f"sqlite3 {statement!r}: {out.stderr}"
    return [tuple(row.split("|")) for row in out.stdout.splitlines()]


class Xvfb:
    """An X server of its own with evilwm, so the full-screen window gets its size and keys."""

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                        "800x600x24", "-nolisten", "tcp"], pass_fds=(write_fd,),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            self.name = ":" + f.readline().strip()
        self.wm = subprocess.Popen(["evilwm", "-fn", "fixed"], env=player_env(WORK, self.name),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)  # the window manager must be there before the game's window is
        return self

    def __exit__(self, *exc):
        for proc in (self.wm, self.server):
            proc.terminate()
            proc.wait(10)

    def x(self, *args):
        return run(args, 10, env=player_env(WORK, self.name))

    def play_and_quit(self, launcher, home):
        """Starts the launcher, presses Escape once the window is there; expects status 0."""
        game = subprocess.Popen(["timeout", "-k", "5", "60", launcher],
                                env=player_env(home, self.name), cwd=home, text=True,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        deadline = time.time() + 40
        while "Window id" not in self.x("xwininfo", "-name", "Zentaris").stdout:
            assert game.poll() is None, "the game ended early:\n" + game.communicate()[1]
            assert time.time() < deadline, "no window titled Zentaris"
            time.sleep(0.3)
        deadline = time.time() + 20
        while game.poll() is None and time.time() < deadline:
            self.x("xdotool", "mousemove", "400", "300", "key", "Escape")
            time.sleep(1)
        _, err = game.communicate(timeout=30)
        assert game.returncode == 0, f"status {game.returncode}:\n{err}"


class InstalledTree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = install(scratch("prefix"))

    def test_debian_layout_below_the_prefix(self):
        for rel in PROGRAMS + FILES:
            path = os.path.join(self.prefix, rel)
            self.assertTrue(os.path.isfile(path), f"{rel} is not installed")
            self.assertEqual(os.access(path, os.X_OK), rel in PROGRAMS, f"{rel}: executable bit")
        data = os.path.join(self.prefix, "share/games/zentaris")
        for name in ("ImgData", "Sound"):
            self.assertEqual(sorted(os.listdir(os.path.join(data, name))),
                             sorted(os.listdir(os.path.join(BUILD, "game", name))), name)
        unwanted = [f for _, _, files in os.walk(self.prefix) for f in files
                    if f.endswith((".ttf", ".db"))]
        self.assertEqual(unwanted, [], "neither a font nor a score table belongs installed")

    def test_launcher_hands_its_arguments_to_the_game(self):
        out = run([os.path.join(self.prefix, "games/zentaris"), "--version"], 30,
                  env=player_env(scratch("home-version")))
        self.assertEqual(out.returncode, 0, out.stderr)
        self.assertEqual(out.stdout.strip(), "zentaris " + project_version())

    def test_desktop_files_and_manual_page_are_clean(self):
        for tool, rel in CHECKERS:
            out = run(tool.split() + [os.path.join(self.prefix, "share", rel)])
            # appstreamcli always ends with its verdict, after a blank line.
            remarks = [line for line in (out.stdout + out.stderr).splitlines()
                       if line.strip() and not line.startswith("\u2714 Validation was successful")]
            with self.subTest(tool=tool):
                self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
                self.assertEqual(remarks, [], f"{tool} has remarks")

    def test_players_keep_their_own_scores_across_a_reinstall(self):
        launcher = os.path.join(self.prefix, "games/zentaris")
        anna, ben = scratch("home-anna"), scratch("home-ben")
        with Xvfb() as x:
            x.play_and_quit(launcher, anna)
            self.assertTrue(os.path.isfile(score_db(anna)), "the game made no table for Anna")
            sql(anna, "insert into scores (name, score) values ('Anna', 4200)")  # a game of hers
            install(self.prefix)
            x.play_and_quit(launcher, anna)
            x.play_and_quit(launcher, ben)
        self.assertEqual(sql(anna, SCORES), [("Anna", "4200")])
        self.assertEqual(sql(ben, SCORES), [])


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        out_dir = scratch("deb")
        out = run(["cpack", "-G", "DEB", "-B", out_dir,
                   "--config", os.path.join(BUILD, "CPackConfig.cmake")], 300)
        assert out.returncode == 0, "cpack failed:\n" + out.stdout + out.stderr
        (cls.deb,) = glob.glob(os.path.join(out_dir, "*.deb"))

    def test_lintian_finds_nothing(self):
        out = run(["lintian", "--fail-on", "error,warning", self.deb], 300)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
        self.assertEqual(out.stdout, "", "lintian tags")

    def test_depends_on_the_font_it_uses(self):
        out = run(["dpkg-deb", "-f", self.deb, "Depends"], 30)
        self.assertIn("fonts-freefont-ttf", re.split(r",\s*", out.stdout.strip()))

    def test_unpacked_package_plays(self):
        root = scratch("unpacked")
        self.assertEqual(run(["dpkg", "-x", self.deb, root]).returncode, 0)
        home = scratch("home-deb")
        with Xvfb() as x:
            x.play_and_quit(os.path.join(root, "usr/games/zentaris"), home)
        self.assertTrue(os.path.isfile(score_db(home)), "the game made no score table")


if __name__ == "__main__":
    unittest.main(verbosity=2)
