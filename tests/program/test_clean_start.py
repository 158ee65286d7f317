#!/usr/bin/env python3
"""The program on a desktop: under a window manager, on a root window of a
known colour, it draws nothing outside its own frame, and its standard error
holds only its own lines: no toolkit assertion (Gdk-CRITICAL, Gtk-CRITICAL)
and none of the sound libraries' chatter on a machine without a sound card;
not at start, not when the server switches panels, and not at any size of
the automap in any layout.

Each test runs its own X server (white root window, openbox), so that what
the program draws on the root stays there to be seen.

Usage: test_clean_start.py PROGRAM GAME_SERVER OUTPUT_DIR
"""

import os
import shutil
import subprocess
import sys
import unittest

from test_program import PROGRAM, STEP_TIMEOUT, ScriptedSession, read_ppm, wait_for

SCREEN = (1280, 1024)
WHITE = (255, 255, 255)
RECORD_NAME = "Tester"
AUTOMAP_SIZES = range(5, 62, 2)
LAYOUTS = (0, 1, 2)
LEAST_INPUT_HEIGHT = 24

SCRIPT = r"""
expect torvane .*
send ;slogin;Tester;elogin;
reply tqping => ;sevent;tqpong;eevent;
reply tqlstatus .* =>
# Every panel the server may switch goes off and on again; each switch lays
# the frame out anew.
reply (?i)switch => ;sconfig;status_bar disable;econfig;;sconfig;automap disable;econfig;;sconfig;hint_buttons disable;econfig;;sconfig;fkey_buttons disable;econfig;;sconfig;direction_buttons disable;econfig;;sconfig;popup_buttons disable;econfig;;sconfig;exp_bar disable;econfig;;sconfig;status_bar enable;econfig;;sconfig;automap enable;econfig;;sconfig;hint_buttons enable;econfig;;sconfig;fkey_buttons enable;econfig;;sconfig;direction_buttons enable;econfig;;sconfig;popup_buttons enable;econfig;;sconfig;exp_bar enable;econfig;Switched.\r\n
hold
"""

SYSTEM_CONFIG = """<?xml version="1.0" encoding="ISO-8859-1"?>

<system_config_list>
    <curr_config>%s</curr_config>
    <system_audio_enable>1</system_audio_enable>
</system_config_list>
"""

RECORD = """<single_config>
    <name>%s</name>
    <current_layout>%d</current_layout>
    <automap_display>1</automap_display>
    <automap_docked>1</automap_docked>
    <automap_size>%d</automap_size>
</single_config>
"""


class CleanStart(ScriptedSession):
    SCRIPT = SCRIPT
    REPEAT = True

    def setUp(self):
        super().setUp()
        self.start_desktop()
        self.stderr_path = os.path.join(self.home, "stderr")

    def start_desktop(self):
        """A fresh X server with a white root window and a window manager."""
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN, "-wr", "-nolisten", "tcp"],
            pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop, xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        self.assertTrue(number.isdigit(), "the X server names its display")
        self.addCleanup(os.environ.__setitem__, "DISPLAY", os.environ.get("DISPLAY", ""))
        os.environ["DISPLAY"] = ":" + number
        window_manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop, window_manager)
        wait_for(lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True).stdout,
            "the window manager")

    def write_record(self, layout, automap_size):
        directory = os.path.join(self.home, "Library", "Varn Ossic")
        os.makedirs(directory)
        with open(os.path.join(directory, "varn_ossic.cfg"), "w", encoding="latin-1") as f:
            f.write(SYSTEM_CONFIG % RECORD_NAME)
        with open(os.path.join(directory, RECORD_NAME + ".cfg"), "w", encoding="latin-1") as f:
            f.write(RECORD % (RECORD_NAME, layout, automap_size))

    def saved_record(self):
        with open(os.path.join(self.home, "Library", "Varn Ossic", RECORD_NAME + ".cfg"), encoding="latin-1") as f:
            return f.read()

    def start_client(self):
        """Starts the program and waits for its login's settings line; returns
        the process and its main window."""
        logins = self.status_lines()
        env = dict(os.environ, HOME=self.home, GDK_BACKEND="x11")
        with open(self.stderr_path, "wb") as stderr:
            client = subprocess.Popen([PROGRAM, "127.0.0.1", str(self.port)], env=env, stderr=stderr)
        self.addCleanup(self.stop, client)
        wait_for(lambda: self.status_lines() > logins, "the settings status line after the login")
        window = self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Varn Ossic - Player").split()[0]
        self.xdotool("windowfocus", "--sync", window)
        return client, window

    def status_lines(self):
        return sum(line.startswith("tqlstatus ") for line in self.recorded())

    def type_line(self, text):
        self.xdotool("type", "--delay", "20", text)
        self.xdotool("key", "Return")

    def quit(self, client):
        self.type_line("//quit")
        self.assertEqual(client.wait(timeout=STEP_TIMEOUT), 0)

    def frame_rect(self, window):
        """Left, top, right and bottom (exclusive) of the window with the
        window manager's frame around it."""
        info = subprocess.run(["xwininfo", "-id", window], check=True, capture_output=True, text=True,
                              timeout=STEP_TIMEOUT).stdout
        fields = dict(line.strip().split(": ", 1) for line in info.splitlines() if ": " in line)
        x, y = int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])
        width, height = int(fields["Width"]), int(fields["Height"])
        extents = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], check=True, capture_output=True,
                                 text=True, timeout=STEP_TIMEOUT).stdout
        left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
        return x - left, y - top, x + width + right, y + height + bottom

    def assert_root_untouched(self, window):
        """Every pixel outside the frame still shows the root's white."""
        ppm = os.path.join(self.home, "screen.ppm")
        subprocess.run(["import", "-window", "root", "-depth", "8", ppm], check=True, timeout=STEP_TIMEOUT)
        width, height, pixels = read_ppm(ppm)
        left, top, right, bottom = self.frame_rect(window)
        painted = [(x, y) for y in range(height) for x in range(width)
                   if not (left <= x < right and top <= y < bottom)
                   and tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) != WHITE]
        self.assertEqual(painted[:5], [], "%d pixels outside the frame %s changed" %
                         (len(painted), (left, top, right, bottom)))

    def assert_only_own_lines(self):
        with open(self.stderr_path, encoding="latin-1") as f:
            lines = [line for line in f.read().splitlines() if line.strip()]
        self.assertEqual(lines, [], "standard error holds more than the program's own lines")

    def test_start_and_switched_panels_leave_the_desktop_and_the_terminal_alone(self):
        client, window = self.start_client()
        self.type_line("switch")
        wait_for(lambda: self.status_lines() == 2, "the settings line after the switches")
        # The command line down to its least height.
        self.xdotool("key", "--delay", "20", "--repeat", "4", "ctrl+shift+bracketleft")
        self.assert_root_untouched(window)
        self.quit(client)
        self.assertIn("<input_height>%d</input_height>" % LEAST_INPUT_HEIGHT, self.saved_record())
        self.assert_only_own_lines()

    def test_every_automap_size_in_every_layout_passes_without_an_assertion(self):
        for layout in LAYOUTS:
            with self.subTest(layout=layout):
                shutil.rmtree(os.path.join(self.home, "Library"), ignore_errors=True)
                self.write_record(layout, AUTOMAP_SIZES[0])
                client, window = self.start_client()
                try:
                    self.xdotool("key", "--delay", "20", "--repeat", str(len(AUTOMAP_SIZES) - 1),
                                 "ctrl+bracketright")
                    self.assert_root_untouched(window)
                    self.quit(client)
                finally:
                    self.stop(client)
                # Saved at the quit: every step of the way was taken.
                self.assertIn("<automap_size>%d</automap_size>" % AUTOMAP_SIZES[-1], self.saved_record())
                self.assert_only_own_lines()

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
