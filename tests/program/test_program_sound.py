#!/usr/bin/env python3
"""The built program's sound switch end to end, under an X display: with no
sound device the client starts silently with sound off and tells the server
so; with a device (ALSA's default writing to /dev/null) sound runs, and the
program quits cleanly while its audio stream runs.

Usage: test_program_sound.py PROGRAM GAME_SERVER OUTPUT_DIR
"""

import os
import subprocess
import sys
import unittest

from test_program import PROGRAM, STEP_TIMEOUT, ScriptedSession, wait_for

NULL_DEVICE = 'pcm.!default { type file slave.pcm "null" file "/dev/null" format "raw" }\n'


class SoundSwitch(ScriptedSession):
    SCRIPT = r"""
expect torvane .*
send ;slogin;Tester;elogin;
hold
"""

    def status_line(self):
        return next((line for line in self.recorded() if line.startswith("tqlstatus ")), None)

    def run_session(self):
        """Runs the client until the server has its settings line, then quits
        it through its own command; returns the line and the exit status."""
        env = dict(os.environ, HOME=self.home, GDK_BACKEND="x11")
        client = subprocess.Popen([PROGRAM, "127.0.0.1", str(self.port)], env=env)
        self.addCleanup(self.stop, client)
        wait_for(lambda: self.status_line() is not None, "the settings status line")
        window = self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Varn Ossic").split()[0]
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("type", "--delay", "20", "//quit")
        self.xdotool("key", "Return")
        return self.status_line(), client.wait(timeout=STEP_TIMEOUT)

    def test_without_a_device_sound_is_off_and_the_server_is_told(self):
        line, status = self.run_session()
        self.assertTrue(line.startswith("tqlstatus 0"), line)
        self.assertEqual(status, 0)

    def test_with_a_device_sound_runs_and_quitting_while_it_plays_exits_cleanly(self):
        with open(os.path.join(self.home, ".asoundrc"), "w") as f:
            f.write(NULL_DEVICE)
        line, status = self.run_session()
        self.assertTrue(line.startswith("tqlstatus 1"), line)
        self.assertEqual(status, 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
