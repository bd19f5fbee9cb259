"""The installed game: `cmake --install` into a temporary prefix, the launcher and the players'
own directories, the menu entry, the AppStream data, the manual page and the Debian package.
Everything happens below one temporary directory; the game runs through the test harness."""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402

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


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


def run(args, timeout=120):
    return subprocess.run(["timeout", "-k", "5", str(timeout), *args], capture_output=True,
                          text=True)


def scratch(name):
    path = os.path.join(WORK, name)
    os.makedirs(path, exist_ok=True)
    return path


def install(prefix):
    out = run(["cmake", "--install", BUILD, "--prefix", prefix])
    assert out.returncode == 0, "cmake --install failed:\n" + out.stdout + out.stderr
    return prefix


def player(env, home):
    """env for the player whose home is `home`, with the usual data directory below it."""
    return dict({k: v for k, v in env.items() if k != "XDG_DATA_HOME"}, HOME=home)


def data_dir(home):
    """Where the launcher keeps a player's links to the game's data and their score/."""
    return os.path.join(home, ".local/share/zentaris")


def play_and_quit(case, display, games, home):
    """The launcher in `games` (named zentaris as the game is) shows the start page and ends
    with status 0 after Escape."""
    game = case.start(display, games, env=player(display.env, home))
    case.page(game, "start")
    display.key("Escape")
    case.assertEqual(game.finish(), 0, game.err)


class InstalledTree(harness.Case):
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
                             sorted(os.listdir(os.path.join(harness.BUILT, name))), name)
        unwanted = [f for _, _, files in os.walk(self.prefix) for f in files
                    if f.endswith((".ttf", ".db"))]
        self.assertEqual(unwanted, [], "neither a font nor a score table belongs installed")

    def test_launcher_hands_help_and_version_to_the_game_without_home_or_making_anything(self):
        data = scratch("data-version")
        env = dict({k: v for k, v in harness.bare_env().items() if k != "HOME"},
                   XDG_DATA_HOME=data)
        said = {"--version": "zentaris %s\n" % os.environ["ZENTARIS_VERSION"],
                "--help": "Aufruf: zentaris"}
        for option, start in said.items():
            game = harness.Run(self, os.path.join(self.prefix, "games"), args=[option], env=env)
            self.assertEqual(game.finish(), 0, game.err)
            self.assertTrue(game.out.startswith(start), game.out)
            self.assertEqual(os.listdir(data), [], f"{option} made files")

    def test_report_entry_writes_the_page_and_opens_it(self):
        home, tools = scratch("home-report"), scratch("tools")
        opener = os.path.join(tools, "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\nprintf %s "$1" > "$(dirname "$0")/opened"\n')
        os.chmod(opener, 0o755)
        env = player(dict(harness.bare_env(), PATH=tools + os.pathsep + os.environ["PATH"]), home)
        game = harness.Run(self, os.path.join(self.prefix, "games"), args=["--open-report"],
                           env=env)
        self.assertEqual(game.finish(), 0, game.err)
        page = os.path.join(data_dir(home), "lernbericht.html")
        with open(os.path.join(tools, "opened")) as f:
            self.assertEqual(f.read(), page, "xdg-open was not given the page")
        with open(page) as f:
            self.assertIn("Noch keine Spiele aufgezeichnet.", f.read())

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
        games, display = os.path.join(self.prefix, "games"), harness.Display(self)
        anna, ben = scratch("home-anna"), scratch("home-ben")
        os.makedirs(os.path.join(data_dir(anna), "score"))
        harness.seed_table(data_dir(anna), [("Anna", 4200)])  # a game she played before
        play_and_quit(self, display, games, anna)
        install(self.prefix)
        play_and_quit(self, display, games, anna)
        play_and_quit(self, display, games, ben)
        self.assertEqual(harness.scores(data_dir(anna)), [("Anna", 4200)], "Anna's games")
        self.assertEqual(harness.scores(data_dir(ben)), [], "Ben's new table")


class DebianPackage(harness.Case):
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
        root, home = scratch("unpacked"), scratch("home-deb")
        self.assertEqual(run(["dpkg", "-x", self.deb, root]).returncode, 0)
        play_and_quit(self, harness.Display(self), os.path.join(root, "usr/games"), home)
        self.assertEqual(harness.scores(data_dir(home)), [], "the game's new table")


if __name__ == "__main__":
    unittest.main(verbosity=2)
