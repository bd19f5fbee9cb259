"""What only the real binary shows: its command line, and its window under Xvfb with evilwm."""

import os
import subprocess

import harness


class CommandLine(harness.Case):
    """Options are answered before any window is made, so these run without a display."""

    def test_each_command_line_is_answered_with_its_status_and_first_lines(self):
        answers = {"--help": (0, "Aufruf: zentaris [OPTION]", ""),
                   "--version": (0, f"zentaris {os.environ['ZENTARIS_VERSION']}", ""),
                   "--bogus": (2, "", "zentaris: unbekannte Option „--bogus“")}
        for option, answer in answers.items():
            run = self.game(self.runtime(), args=[option])
            # finish() first: it takes the output.
            self.assertEqual((run.finish(), run.out.split("\n")[0], run.err.split("\n")[0]),
                             answer)

    def test_help_that_cannot_be_written_ends_with_status_1(self):
        with open("/dev/full", "w") as full:
            done = subprocess.run(["timeout", "-k", "5", "30", "./zentaris", "--help"],
                                  cwd=self.runtime(), stdout=full, env=harness.ENV)
        self.assertEqual(done.returncode, 1)


class Window(harness.Case):
    def test_the_window_opens_and_escape_ends_the_game_with_0(self):
        for args, size in (((), (1024, 768)), (["--window"], (800, 600))):
            run = self.start(self.runtime(), (1024, 768), size, args=args)
            run.key("Escape")
            self.assertEqual((run.finish(), run.err), (0, ""), args)
