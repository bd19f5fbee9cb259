"""What only the real binary shows: its command line, its window full screen and windowed under
Xvfb with evilwm, and the ways it ends (Escape, closing the window, SIGTERM)."""

import os
import signal
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402


def pointer_on(display, run):
    display.xdotool("mousemove", "--window", run.wid, "400", "300")


ENDINGS = {
    "Escape": lambda display, run: display.key("Escape"),
    # evilwm asks the window under the pointer to close on Ctrl+Alt+Escape.
    "closing the window": lambda display, run: (pointer_on(display, run),
                                                display.key("ctrl+alt+Escape")),
    "SIGTERM": lambda display, run: run.proc.send_signal(signal.SIGTERM),
}


class CommandLine(harness.Case):
    """Options are answered before any window is made, so these run without a display."""

    def run_with(self, *args):
        run = harness.Run(self, self.runtime(), args=args)
        return run.finish(), run.out, run.err

    def test_help_and_version_go_to_standard_output(self):
        usage = self.run_with("--help")
        self.assertEqual(usage[0], 0, "exit status of --help")
        self.assertIn("--window", usage[1], "--help does not name --window")
        self.assertEqual(usage[2], "", "--help wrote to standard error")
        self.assertEqual(self.run_with("-h"), usage, "-h does not do what --help does")
        status, out, err = self.run_with("--version")
        self.assertEqual(status, 0, "exit status of --version")
        self.assertEqual(out.lower(), "zentaris %s\n" % os.environ["ZENTARIS_VERSION"])
        self.assertEqual(err, "", "--version wrote to standard error")

    def test_wrong_arguments_are_named_and_end_with_status_2_and_the_usage(self):
        usage = self.run_with("--help")[1]
        misuses = {("--bogus",): "unbekannte Option „--bogus“", ("stray",): "überzähliges "
                   "Argument „stray“", ("--window", "stray"): "überzähliges Argument „stray“",
                   ("--report-csv",): "„--report-csv“ braucht einen Dateinamen"}
        for args, said in misuses.items():
            with self.subTest(args=args):
                status, out, err = self.run_with(*args)
                self.assertEqual(status, 2, err)
                self.assertEqual(out, "", "a wrong argument wrote to standard output")
                self.assertEqual(err, f"zentaris: {said}\n{usage}")

    def test_help_or_version_that_cannot_be_written_ends_with_status_1(self):
        for option in ("--help", "--version"):
            with open("/dev/full", "w") as full:
                done = subprocess.run(["timeout", "-k", "5", "30", "./zentaris", option],
                                      cwd=self.runtime(), stdout=full, stderr=subprocess.PIPE,
                                      env=harness.bare_env(), text=True)
            self.assertEqual(done.returncode, 1, f"{option} into a full disk")
            self.assertIn("Schreibfehler", done.stderr, option)


class Window(harness.Case):
    def check_endings(self, display, args, size=None):
        for ending, act in ENDINGS.items():
            with self.subTest(ending=ending):
                run = self.start(display, self.runtime(), args, size)
                self.page(run, "start", (*run.geometry[:2], *size) if size else None)
                act(display, run)
                self.assertEqual(run.finish(), 0, f"exit status after {ending}")
                self.assertEqual(run.err, "", f"standard error after {ending}")

    def test_full_screen_covers_the_screen_and_ends_with_0(self):
        self.check_endings(harness.Display(self), ())

    def test_window_is_centred_takes_a_click_and_ends_with_0(self):
        display = harness.Display(self, size=(1024, 768))
        run = self.start(display, self.runtime(), ["--window"], harness.LOGICAL)
        x, y = run.geometry[:2]
        self.assertLessEqual(abs(x - 112), 2, f"window at x {x}, not centred on 1024")
        self.assertLessEqual(abs(y - 84), 2, f"window at y {y}, not centred on 768")
        place = (x, y, *harness.LOGICAL)
        self.page(run, "start", place)
        display.click(run.wid, 600, 540)
        self.page(run, "play", place)
        run.kill()
        self.check_endings(display, ["--window"], harness.LOGICAL)


if __name__ == "__main__":
    unittest.main(verbosity=2)
