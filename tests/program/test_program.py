#!/usr/bin/env python3
"""The built program end to end, under an X display: it connects to the
scripted game server, shows the server's coloured text, sends a line typed
into it with xdotool, and quits on "//quit".

Usage: test_program.py PROGRAM GAME_SERVER OUTPUT_DIR
The screenshot is left in OUTPUT_DIR/program_session.png.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM, GAME_SERVER, OUTPUT_DIR = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)
WINDOW_NAME = "^Varn Ossic - Player Tester$"
STEP_TIMEOUT = 30.0

SCRIPT = r"""
expect torvane .*
send \e[1m\e[31mA red warning glows on the wall.\e[0m\r\n
send \e[1m\e[32mGreen grass grows between the stones.\e[0m\r\n
send \e[1m\e[33mThe yellow sun stands high.\e[0m\r\n
send ;slogin;Tester;elogin;
expect look
send \e[1m\e[36mYou look around the empty square.\e[0m\r\n
hold
"""

# The bright colours of the default palette (ff5555, 55ff55, ffff55, 40ffff)
# as the text above shows them: strong in their own channels, weak in the
# rest. Grey and white text falls in none of these.
STRONG, WEAK = 0xC0, 0x80
# A line of text in a colour covers at least this many pixels.
MIN_TEXT_PIXELS = 100
COLOURS = {
    "red": lambda r, g, b: r >= STRONG and g <= WEAK and b <= WEAK,
    "green": lambda r, g, b: g >= STRONG and r <= WEAK and b <= WEAK,
    "yellow": lambda r, g, b: r >= STRONG and g >= STRONG and b <= WEAK,
    "cyan": lambda r, g, b: g >= STRONG and b >= STRONG and r <= WEAK,
}


def wait_for(condition, what, timeout=STEP_TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def read_ppm(path):
    """Width, height and the RGB bytes of a binary PPM (P6) file."""
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + width * height * 3]


def count_colour(pixels, is_colour):
    """How many pixels are of this colour."""
    red, green, blue = (pixels[channel::3] for channel in range(3))
    return sum(1 for r, g, b in zip(red, green, blue) if is_colour(r, g, b))


class ScriptedSession(unittest.TestCase):
    """Each test gets a fresh HOME and a scripted game server that plays the
    class's SCRIPT and records every line the client sends."""

    SCRIPT = ""
    # Whether the server plays the script again to each client that connects.
    REPEAT = False

    def setUp(self):
        self.home = tempfile.mkdtemp(prefix="vusk-program-")
        self.addCleanup(shutil.rmtree, self.home, True)
        script = os.path.join(self.home, "session.script")
        with open(script, "w", encoding="latin-1") as f:
            f.write(self.SCRIPT)
        self.record = os.path.join(self.home, "record")
        open(self.record, "w").close()
        self.server = subprocess.Popen(
            [sys.executable, GAME_SERVER, "--script", script, "--record", self.record,
             "--timeout", str(STEP_TIMEOUT)] + (["--repeat"] if self.REPEAT else []), stdout=subprocess.PIPE)
        self.addCleanup(self.stop, self.server)
        self.port = int(self.server.stdout.readline().split()[1])

    @staticmethod
    def stop(process):
        if process.poll() is None:
            process.kill()
        process.wait()

    def recorded(self):
        with open(self.record, "rb") as f:
            return f.read().decode("latin-1").splitlines()

    def screen(self):
        """Width, height and RGB bytes of what the display shows."""
        ppm = os.path.join(self.home, "screen.ppm")
        subprocess.run(["import", "-window", "root", "-depth", "8", ppm], check=True, timeout=STEP_TIMEOUT)
        return read_ppm(ppm)

    def screen_pixels(self):
        return self.screen()[2]

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool"] + list(arguments), check=True, capture_output=True,
                              text=True, timeout=STEP_TIMEOUT).stdout


class ProgramSession(ScriptedSession):
    SCRIPT = SCRIPT

    def test_typed_line_reaches_the_server_and_coloured_text_shows(self):
        env = dict(os.environ, HOME=self.home, GDK_BACKEND="x11")
        client = subprocess.Popen([PROGRAM, "127.0.0.1", str(self.port)], env=env)
        self.addCleanup(self.stop, client)

        wait_for(lambda: any(line.startswith("torvane ") for line in self.recorded()),
                 "the identification line")
        window = self.xdotool("search", "--sync", "--onlyvisible", "--name", WINDOW_NAME).split()[0]
        wait_for(lambda: any(line.startswith("tqlstatus ") for line in self.recorded()),
                 "the settings status line after the login")

        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("type", "--delay", "20", "look")
        self.xdotool("key", "Return")
        wait_for(lambda: "look" in self.recorded(), "the typed line at the server")

        # The answer to the typed line is the cyan text.
        wait_for(lambda: count_colour(self.screen_pixels(), COLOURS["cyan"]) > MIN_TEXT_PIXELS,
                 "the answer on the screen")
        subprocess.run(["import", "-window", "root", os.path.join(OUTPUT_DIR, "program_session.png")],
                       check=True, timeout=STEP_TIMEOUT)
        pixels = self.screen_pixels()
        for name, is_colour in COLOURS.items():
            self.assertGreater(count_colour(pixels, is_colour), MIN_TEXT_PIXELS, "no %s text on the screen" % name)

        self.xdotool("type", "--delay", "20", "//quit")
        self.xdotool("key", "Return")
        self.assertEqual(client.wait(timeout=STEP_TIMEOUT), 0)
        self.assertNotIn("//quit", self.recorded())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
