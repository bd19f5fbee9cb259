"""The installed game: `cmake --install` into a temporary prefix, the launcher and the players'
own directories, the menu entry, the AppStream data, the manual page and the Debian package,
checked by lintian, which checks the layout and the permissions too.
Everything happens below one temporary directory; the game runs through the test harness."""

import glob
import os
import shutil
import subprocess
import tempfile

import harness

BUILD = os.environ["ZENTARIS_BUILD_DIR"]
WORK = tempfile.mkdtemp(prefix="zentaris-install-")
# Tools that check what is installed below share/, and the file each checks.
CHECKERS = (("desktop-file-validate", "applications/zentaris.desktop"),
            ("appstreamcli validate --no-net", "metainfo/de.zentaris.Zentaris.metainfo.xml"),
            ("mandoc -T lint -W style", "man/man6/zentaris.6.gz"))


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


def run(*args, timeout=300):
    return subprocess.run(["timeout", "-k", "5", str(timeout), *args], capture_output=True,
                          text=True)


def install(prefix):
    out = run("cmake", "--install", BUILD, "--prefix", prefix)
    assert out.returncode == 0, "cmake --install failed:\n" + out.stdout + out.stderr
    return prefix


def home(name):
    """A player's home, and the directory below it where the launcher keeps their game."""
    path = os.path.join(WORK, name)
    return path, os.path.join(path, ".local/share/zentaris")


def play_and_quit(case, display, games, player):
    """The launcher in `games` shows the start page and ends with status 0 after Escape."""
    game = case.start(display, games, env=dict(display.env, HOME=player))
    case.page(game, "start")
    game.key("Escape")
    case.assertEqual(game.finish(), 0, game.err)


class InstalledTree(harness.Case):
    @classmethod
    def setUpClass(cls):
        cls.prefix = install(os.path.join(WORK, "prefix"))

    def test_launcher_hands_help_and_version_to_the_game_without_home_or_making_anything(self):
        data = home("data-version")[0]
        os.makedirs(data)
        env = dict({k: v for k, v in harness.base_env().items() if k != "HOME"},
                   XDG_DATA_HOME=data)
        said = {"--version": "zentaris %s\n" % os.environ["ZENTARIS_VERSION"],
                "--help": "Aufruf: zentaris"}
        for option, start in said.items():
            game = self.game(os.path.join(self.prefix, "games"), args=[option], env=env)
            self.assertEqual(game.finish(), 0, game.err)
            self.assertTrue(game.out.startswith(start), game.out)
            self.assertEqual(os.listdir(data), [], f"{option} made files")

    def test_report_entry_writes_the_page_and_opens_it(self):
        (player, data), tools = home("report"), home("tools")[0]
        os.makedirs(tools)
        opener = os.path.join(tools, "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\nprintf %s "$1" > "$(dirname "$0")/opened"\n')
        os.chmod(opener, 0o755)
        game = self.game(os.path.join(self.prefix, "games"), args=["--open-report"], env=dict(
            harness.base_env(), HOME=player, PATH=tools + os.pathsep + os.environ["PATH"]))
        self.assertEqual(game.finish(), 0, game.err)
        page = os.path.join(data, "lernbericht.html")
        with open(os.path.join(tools, "opened")) as f:
            self.assertEqual(f.read(), page, "xdg-open was not given the page")
        with open(page) as f:
            self.assertIn("Noch keine Spiele aufgezeichnet.", f.read())

    def test_desktop_files_and_manual_page_are_clean(self):
        for tool, rel in CHECKERS:
            out = run(*tool.split(), os.path.join(self.prefix, "share", rel))
            # appstreamcli always ends with its verdict, after a blank line.
            remarks = [line for line in (out.stdout + out.stderr).splitlines()
                       if line.strip() and not line.startswith("\u2714 Validation was successful")]
            with self.subTest(tool=tool):
                self.assertEqual((out.returncode, remarks), (0, []), f"{tool} has remarks")

    def test_players_keep_their_own_scores_across_a_reinstall(self):
        games, display = os.path.join(self.prefix, "games"), self.display()
        (anna, annas), (ben, bens) = home("anna"), home("ben")
        harness.seed_table(annas, [("Anna", 4200)])  # a game she played before
        play_and_quit(self, display, games, anna)
        install(self.prefix)
        play_and_quit(self, display, games, anna)
        play_and_quit(self, display, games, ben)
        self.assertEqual(harness.scores(annas), [("Anna", 4200)], "Anna's games")
        self.assertEqual(harness.scores(bens), [], "Ben's new table")


class DebianPackage(harness.Case):
    @classmethod
    def setUpClass(cls):
        out = run("cpack", "-G", "DEB", "-B", os.path.join(WORK, "deb"),
                  "--config", os.path.join(BUILD, "CPackConfig.cmake"))
        assert out.returncode == 0, "cpack failed:\n" + out.stdout + out.stderr
        (cls.deb,) = glob.glob(os.path.join(WORK, "deb", "*.deb"))

    def test_lintian_finds_nothing(self):
        out = run("lintian", "--fail-on", "error,warning", self.deb)
        self.assertEqual((out.returncode, out.stdout), (0, ""), out.stdout + out.stderr)

    def test_depends_on_the_font_it_uses(self):
        depends = run("dpkg-deb", "-f", self.deb, "Depends").stdout
        self.assertIn("fonts-freefont-ttf", [d.strip() for d in depends.split(",")])

    def test_unpacked_package_plays_with_a_new_table(self):
        root, (player, data) = os.path.join(WORK, "unpacked"), home("deb")
        self.assertEqual(run("dpkg", "-x", self.deb, root).returncode, 0)
        play_and_quit(self, self.display(), os.path.join(root, "usr/games"), player)
        self.assertEqual(harness.scores(data), [], "the game's new table")
