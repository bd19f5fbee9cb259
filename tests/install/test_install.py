"""The installed game: `cmake --install` into a temporary prefix, its launcher and its menu entry,
and the Debian package, checked by lintian. The game runs through the test harness."""

import glob
import os
import sqlite3
import subprocess

import harness

BUILD = os.environ["ZENTARIS_BUILD_DIR"]


def run(*args):
    """What a tool prints; a tool that fails fails the test."""
    done = subprocess.run(["timeout", "-k", "5", "300", *args], capture_output=True, text=True)
    if done.returncode:
        raise AssertionError(f"{args[0]} ended with {done.returncode}:\n{done.stdout}{done.stderr}")
    return done.stdout


class InstalledTree(harness.Case):
    def setUp(self):
        self.prefix = self.directory()
        run("cmake", "--install", BUILD, "--prefix", self.prefix)

    def test_help_and_version_need_no_home_and_make_nothing(self):
        data = self.directory()
        for option, said in (("--help", "Aufruf: zentaris [OPTION]"),
                             ("--version", f"zentaris {os.environ['ZENTARIS_VERSION']}")):
            game = self.game(f"{self.prefix}/games", args=[option], XDG_DATA_HOME=data)
            # finish() first: it takes the output.
            self.assertEqual((game.finish(), game.out.split("\n")[0], os.listdir(data)),
                             (0, said, []), game.err)

    def test_a_player_keeps_the_scores_through_a_reinstall(self):
        home = self.directory()
        data = f"{home}/.local/share/zentaris"
        os.makedirs(f"{data}/score")
        with sqlite3.connect(f"{data}/score/scores.db") as db:
            db.executescript("create table scores (id integer primary key, name, score);"
                             " insert into scores values (1, 'Anna', 4200)")
        run("cmake", "--install", BUILD, "--prefix", self.prefix)
        game = self.start(f"{self.prefix}/games", HOME=home)
        game.key("Escape")
        self.assertEqual(game.finish(), 0, game.err)
        self.assertEqual(harness.scores(data), [("Anna", 4200)])

    def test_the_menu_entry_validates(self):
        self.assertEqual(run("desktop-file-validate",
                             f"{self.prefix}/share/applications/zentaris.desktop"), "")


class DebianPackage(harness.Case):
    def test_the_package_builds_clean_for_lintian(self):
        work = self.directory()
        run("cpack", "-G", "DEB", "-B", work, "--config", f"{BUILD}/CPackConfig.cmake")
        self.assertEqual(run("lintian", "--fail-on", "error,warning", *glob.glob(f"{work}/*.deb")),
                         "")
