"""What only the real binary shows: its command line, its window full screen and windowed under
Xvfb with evilwm, and the ways it ends."""

import os
import signal
import subprocess

import harness

ENDINGS = {
    "Escape": lambda run: run.key("Escape"),
    # evilwm asks the window under the pointer to close.
    "closing the window": lambda run: run.key("ctrl+alt+Escape"),
    "SIGTERM": lambda run: run.proc.send_signal(signal.SIGTERM),
}


class CommandLine(harness.Case):
    """Options are answered before any window is made, so these run without a display."""

    def answer(self, *args):
        run = self.game(self.runtime(), args=args)
        return run.finish(), run.out, run.err

    def test_help_and_version_are_answered_on_standard_output(self):
        usage = self.answer("--help")
        self.assertEqual(usage[::2], (0, ""), "status and standard error of --help")
        self.assertIn("--window", usage[1], "--help does not name --window")
        self.assertEqual(self.answer("-h"), usage, "-h does not do what --help does")
        self.assertEqual(self.answer("--version"),
                         (0, "zentaris %s\n" % os.environ["ZENTARIS_VERSION"], ""))

    def test_a_misuse_is_named_and_ends_with_status_2_and_the_usage_on_standard_error(self):
        usage = self.answer("--help")[1]
        misuses = {("--bogus",): "unbekannte Option „--bogus“", ("stray",): "überzähliges "
                   "Argument „stray“", ("--window", "stray"): "überzähliges Argument „stray“",
                   ("--report-csv",): "„--report-csv“ braucht einen Dateinamen"}
        for args, said in misuses.items():
            with self.subTest(args=args):
                self.assertEqual(self.answer(*args), (2, "", f"zentaris: {said}\n{usage}"))

    def test_help_or_version_that_cannot_be_written_ends_with_status_1(self):
        for option in ("--help", "--version"):
            with open("/dev/full", "w") as full:
                done = subprocess.run(["timeout", "-k", "5", "30", "./zentaris", option],
                                      cwd=self.runtime(), stdout=full, stderr=subprocess.PIPE,
                                      env=harness.base_env(), text=True)
            self.assertEqual(done.returncode, 1, f"{option} into a full disk")
            self.assertIn("Schreibfehler", done.stderr, option)


class Window(harness.Case):
    def test_the_full_screen_game_ends_quietly_with_0_each_way(self):
        display = self.display()
        for ending, act in ENDINGS.items():
            with self.subTest(ending=ending):
                run = self.start(display, self.runtime())
                self.page(run, "start")
                act(run)
                self.assertEqual((run.finish(), run.err), (0, ""), f"after {ending}")

    def test_a_window_is_centred_on_the_screen(self):
        display = self.display((1024, 768))
        run = self.start(display, self.runtime(), ["--window"], (800, 600))
        self.page(run, "start")
        x, y = display.place(run.window())[:2]  # evilwm's border moves it a pixel or two
        self.assertLessEqual(max(abs(x - 112), abs(y - 84)), 2, f"at {x, y}, not centred")
