"""What only the real binary shows: its command line, and its window under Xvfb with evilwm."""

import os

import harness


class CommandLine(harness.Case):
    """Options are answered before any window is made, so this runs without a display."""

    def test_the_version_goes_to_standard_output_and_a_misuse_to_standard_error(self):
        answers = {"--version": (0, f"zentaris {os.environ['ZENTARIS_VERSION']}", ""),
                   "--bogus": (2, "", "zentaris: unbekannte Option „--bogus“")}
        for option, answer in answers.items():
            run = self.game(self.runtime(), args=[option])
            # finish() first: it takes the output.
            self.assertEqual((run.finish(), run.out.split("\n")[0], run.err.split("\n")[0]),
                             answer)


class Window(harness.Case):
    def test_the_window_opens_and_escape_ends_the_game_with_0(self):
        for args, size in (((), (1024, 768)), (["--window"], (800, 600))):
            run = self.start(self.runtime(), (1024, 768), size, args=args)
            run.key("Escape")
            self.assertEqual((run.finish(), run.err), (0, ""), args)
