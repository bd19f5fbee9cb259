"""What only the real binary shows: its window under Xvfb with evilwm, and its exit status.
(Its command line is tested in process, and through the launcher in the install tests.)"""

import harness


class Window(harness.Case):
    def test_the_window_opens_and_escape_ends_the_game_with_0(self):
        for args, size in (((), (1024, 768)), (["--window"], (800, 600))):
            run = self.start(self.runtime(), (1024, 768), size, args=args)
            run.key("Escape")
            self.assertEqual((run.finish(), run.err), (0, ""), args)
