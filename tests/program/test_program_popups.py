#!/usr/bin/env python3
"""A popup window's place and size survive the program: the server defines a
popup, the player opens it with Control-1 and moves it, quits, starts the
program again, and the popup of the same name opens where it was left.

Usage: test_program_popups.py PROGRAM GAME_SERVER OUTPUT_DIR
"""

import os
import subprocess
import sys
import unittest

from test_program import PROGRAM, GAME_SERVER, STEP_TIMEOUT, ScriptedSession, wait_for

# Below the main frame, where nothing covers it.
PLACE = (345, 740)
SIZE = (400, 280)
# A point on the scrollbar of the popup's text (light grey), left of and
# above the window's bottom right corner.
SCROLLBAR_FROM_CORNER = (6, 20)


class PopupPlaces(ScriptedSession):
    SCRIPT = r"""
expect torvane .*
send ;slogin;Tester;elogin;;swindow_create;Who\nWho is on\n20 5\nwho\n;ewindow_create;
reply tqlwindow .* =>
reply who => ;sdivert;Who;edivert;Mira\r\nPell\r\n;tundivert;
hold
"""

    def setUp(self):
        super().setUp()
        # The server plays the script to each client in turn.
        self.stop(self.server)
        self.server.stdout.close()
        self.server = subprocess.Popen(
            [sys.executable, GAME_SERVER, "--script", os.path.join(self.home, "session.script"),
             "--record", self.record, "--repeat", "--timeout", str(STEP_TIMEOUT)], stdout=subprocess.PIPE)
        self.addCleanup(self.stop, self.server)
        self.port = int(self.server.stdout.readline().split()[1])

    def count(self, line):
        return self.recorded().count(line)

    def session(self, number):
        """Starts the client, opens the popup and returns its window and the client."""
        env = dict(os.environ, HOME=self.home, GDK_BACKEND="x11")
        client = subprocess.Popen([PROGRAM, "127.0.0.1", str(self.port)], env=env)
        self.addCleanup(self.stop, client)
        wait_for(lambda: sum(line.startswith("tqlstatus ") for line in self.recorded()) >= number,
                 "the settings status line of session %d" % number)
        main = self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Varn Ossic - Player").split()[0]
        self.xdotool("windowfocus", "--sync", main)
        self.xdotool("key", "ctrl+1")
        wait_for(lambda: self.count("tqlwindow open Who") >= number and self.count("who") >= number,
                 "the opening lines of session %d" % number)
        popup = self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Who is on$").split()[0]
        return main, popup, client

    def quit(self, main, client):
        self.xdotool("windowfocus", "--sync", main)
        self.xdotool("type", "--delay", "20", "//quit")
        self.xdotool("key", "Return")
        self.assertEqual(client.wait(timeout=STEP_TIMEOUT), 0)

    def geometry(self, window):
        fields = dict(line.strip().split(": ", 1) for line in
                      self.xdotool("getwindowgeometry", window).splitlines()[1:])
        x, y = (int(v) for v in fields["Position"].split(" ")[0].split(","))
        w, h = (int(v) for v in fields["Geometry"].split("x"))
        return (x, y), (w, h)

    def laid_out_at_new_size(self):
        """The program has laid the popup out for its new size: the scrollbar
        of its text reaches down the new right edge."""
        width, _, pixels = self.screen()
        x, y = (PLACE[i] + SIZE[i] - SCROLLBAR_FROM_CORNER[i] for i in (0, 1))
        r, g, b = pixels[3 * (y * width + x):3 * (y * width + x) + 3]
        return r == g == b and r > 150

    def test_a_moved_popup_opens_where_it_was_after_a_restart(self):
        main, popup, client = self.session(1)
        self.xdotool("windowmove", "--sync", popup, str(PLACE[0]), str(PLACE[1]))
        self.xdotool("windowsize", "--sync", popup, str(SIZE[0]), str(SIZE[1]))
        wait_for(self.laid_out_at_new_size, "the popup laid out at its new size")
        self.quit(main, client)
        with open(os.path.join(self.home, "Library", "Varn Ossic", "Tester.cfg"), encoding="latin-1") as f:
            saved = f.read()
        self.assertIn("<name>Who</name>", saved)
        self.assertIn("<x>%d</x>" % PLACE[0], saved)

        main, popup, client = self.session(2)
        wait_for(lambda: self.geometry(popup) == (PLACE, SIZE), "the popup where it was left")
        self.quit(main, client)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
