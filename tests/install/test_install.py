"""The installed game: `cmake --install` into a temporary prefix, its launcher and its menu entry,
and the Debian package, checked by lintian. The game runs through the test harness."""

import glob
import os
import sqlite3
import subprocess

import harness

BUILD = os.environ["ZENTARIS_BUILD_DIR"]


def run(*args):
    return subprocess.run(["timeout", "-k", "5", "300", *args], capture_output=True, text=True)


class InstalledTree(harness.Case):
    def setUp(self):
        self.prefix = self.directory()
        self.install()

    def install(self):
        done = run("cmake", "--install", BUILD, "--prefix", self.prefix)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

    def test_help_and_version_need_no_home_and_make_nothing(self):
        env = dict(harness.ENV, XDG_DATA_HOME=self.directory())
        env.pop("HOME", None)
        for option, said in (("--help", "Aufruf: zentaris [OPTION]"),
                             ("--version", "zentaris " + os.environ["ZENTARIS_VERSION"])):
            game = self.game(self.prefix + "/games", args=[option], env=env)
            status = game.finish()
            self.assertEqual((status, game.out.split("\n")[0], os.listdir(env["XDG_DATA_HOME"])),
                             (0, said, []), game.err)

    def test_a_player_keeps_the_scores_through_a_reinstall(self):
        home = self.directory()
        data = home + "/.local/share/zentaris"
        os.makedirs(data + "/score")
        with sqlite3.connect(data + "/score/scores.db") as db:
            db.execute("create table scores (id integer primary key, name, score)")
            db.execute("insert into scores (name, score) values ('Anna', 4200)")
        self.install()
        display = self.display()
        game = self.start(display, self.prefix + "/games", env=dict(display.env, HOME=home))
        game.key("Escape")
        self.assertEqual(game.finish(), 0, game.err)
        self.assertEqual(harness.scores(data), [("Anna", 4200)])

    def test_the_menu_entry_validates(self):
        done = run("desktop-file-validate", self.prefix + "/share/applications/zentaris.desktop")
        self.assertEqual((done.returncode, done.stdout + done.stderr), (0, ""))


class DebianPackage(harness.Case):
    def test_the_package_builds_clean_for_lintian(self):
        work = self.directory()
        done = run("cpack", "-G", "DEB", "-B", work, "--config", BUILD + "/CPackConfig.cmake")
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        done = run("lintian", "--fail-on", "error,warning", *glob.glob(work + "/*.deb"))
        self.assertEqual((done.returncode, done.stdout), (0, ""), done.stderr)
