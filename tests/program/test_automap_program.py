#!/usr/bin/env python3
"""The automap in the built program, under an X display: a player walks
through the generated world of tests/server/map_generator.py, docked in the
three layouts, floating in its own frame and at three sizes; a click on the
compass walks. Each run leaves a screenshot in OUTPUT_DIR (automap_*.png).

Usage: test_automap_program.py PROGRAM SERVER_DIR OUTPUT_DIR
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

PROGRAM, SERVER_DIR, OUTPUT_DIR = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)
if SERVER_DIR:
    sys.path.insert(0, SERVER_DIR)
import map_generator  # noqa: E402
from test_program import read_ppm, wait_for  # noqa: E402

STEP_TIMEOUT = 30.0
NAME = "Walker"
# Panel sizes for cell size c: 18c + 5 wide, 18c + 26 high.
PANEL = {c: (18 * c + 5, 18 * c + 26) for c in (7, 11, 15)}
# The world's terrains as the map draws them: grass, fields, forest, town.
TERRAIN = [(0, 192, 0), (0, 255, 0), (0, 128, 0), (192, 192, 192), (96, 160, 96)]
# A map shows at least this many of them (of every ninth pixel).
MAP_PIXELS = 200
# The height of the main frame's menu bar.
MENU_BAR = 24
SETTINGS = """<single_config>
    <name>{name}</name>
    <current_layout>{layout}</current_layout>
    <automap_docked>{docked}</automap_docked>
    <automap_display>1</automap_display>
    <automap_size>{size}</automap_size>
    <group_status_display>0</group_status_display>
</single_config>
"""


def count_pixels(screen, left, top, right, bottom, is_colour):
    """How many pixels in the rectangle (every third row and column) are of a colour."""
    width, _, pixels = screen
    count = 0
    for y in range(top, bottom, 3):
        for x in range(left, right, 3):
            i = 3 * (y * width + x)
            count += is_colour(tuple(pixels[i:i + 3]))
    return count


def crop(screen, left, top, right, bottom):
    width, _, pixels = screen
    return [pixels[3 * (y * width + left):3 * (y * width + right)] for y in range(top, bottom)]


def count_white(rows):
    """Pixels of white text (the glyphs' full coverage comes out a shade below 255)."""
    return sum(min(row[i:i + 3]) >= 240 for row in rows for i in range(0, len(row), 3))


def shows_map(screen, left, top, right, bottom):
    return count_pixels(screen, left, top, right, bottom, lambda rgb: rgb in TERRAIN) > MAP_PIXELS


class AutomapSession(unittest.TestCase):
    def start(self, script, layout=2, docked=1, size=11):
        self.home = tempfile.mkdtemp(prefix="vusk-automap-")
        self.addCleanup(shutil.rmtree, self.home, True)
        os.makedirs(os.path.join(self.home, ".VarnOssic"))
        with open(os.path.join(self.home, ".VarnOssic", NAME + ".cfg"), "w") as f:
            f.write(SETTINGS.format(name=NAME, layout=layout, docked=docked, size=size))
        script_path = os.path.join(self.home, "walk.script")
        with open(script_path, "w", encoding="latin-1") as f:
            f.write(script)
        self.record = os.path.join(self.home, "record")
        open(self.record, "w").close()
        server = subprocess.Popen([sys.executable, os.path.join(SERVER_DIR, "game_server.py"), "--script",
                                   script_path, "--record", self.record, "--timeout", str(STEP_TIMEOUT)],
                                  stdout=subprocess.PIPE)
        self.addCleanup(self.stop, server)
        port = server.stdout.readline().split()[1].decode()
        env = dict(os.environ, HOME=self.home, GDK_BACKEND="x11")
        client = subprocess.Popen([PROGRAM, "127.0.0.1", port], env=env)
        self.addCleanup(self.stop, client)
        wait_for(lambda: any(line.startswith("tqlstatus ") for line in self.recorded()), "the login")

    @staticmethod
    def stop(process):
        if process.poll() is None:
            process.kill()
        process.wait()
        if process.stdout:
            process.stdout.close()

    def recorded(self):
        with open(self.record, "rb") as f:
            return f.read().decode("latin-1").splitlines()

    def grab(self):
        """What the display shows; keep() saves the last grab."""
        subprocess.run(["import", "-window", "root", "-depth", "8", self.ppm()], check=True, timeout=STEP_TIMEOUT)
        return read_ppm(self.ppm())

    def keep(self, name):
        subprocess.run(["convert", self.ppm(), os.path.join(OUTPUT_DIR, "automap_%s.png" % name)], check=True,
                       timeout=STEP_TIMEOUT)

    def ppm(self):
        return os.path.join(self.home, "screen.ppm")

    def wait_for_screen(self, name, condition, what):
        """Grabs the display until `condition(screen)` holds and returns that
        grab, kept as automap_NAME.png unless the name is None."""
        wait_for(lambda: condition(self.grab()), what)
        if name:
            self.keep(name)
        return read_ppm(self.ppm())

    def wait_for_map_in(self, name, left, top, right, bottom, what):
        """Waits until the rectangle shows the world's terrains: the map is there."""
        return self.wait_for_screen(name, lambda screen: shows_map(screen, left, top, right, bottom), "the map " + what)

    def walk(self, steps, fight_seconds=2.4):
        return map_generator.walk_script(map_generator.World(), NAME, step=0.05,
                                         route=map_generator.ROUTE[:steps], fight_seconds=fight_seconds)

    def test_docked_in_each_layout_at_three_sizes(self):
        for layout, size, steps in ((0, 11, 22), (1, 7, 8), (2, 15, 14)):
            with self.subTest(layout=layout):
                self.start(self.walk(steps), layout=layout, size=size)
                name = "layout%d_size%d" % (layout, size)
                width, height = PANEL[size]
                if layout == 0:  # over the top right corner of the text
                    screen = self.wait_for_map_in(name, 984 - 60 - width, 2 * size, 984 - 60, 2 * size + height,
                                                  "over the text")
                    self.assertLess(count_pixels(screen, 2, 2, width, height, lambda rgb: rgb in TERRAIN), 10)
                elif layout == 1:
                    self.wait_for_map_in(name, 2, MENU_BAR, width, height, "top left")
                else:
                    self.wait_for_map_in(name, 2, 728 - height, width, 726, "bottom left")
                self.doCleanups()

    def test_floating_frame_and_a_fight(self):
        self.start(self.walk(len(map_generator.ROUTE) - 1, fight_seconds=None), docked=0, size=11)
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Varn Ossic Map$"],
                                check=True, capture_output=True, text=True, timeout=STEP_TIMEOUT).stdout.split()[0]
        subprocess.run(["xdotool", "windowmove", "--sync", window, "1000", "40"], check=True, timeout=STEP_TIMEOUT)
        width, height = PANEL[11]

        def in_frame_and_fighting(screen):
            # "Combat!" in its pink on the caption.
            pink = count_pixels(screen, 1000, 41, 1000 + width, 61,
                                lambda rgb: rgb[0] > 150 and rgb[1] == rgb[2] and rgb[1] < rgb[0])
            return shows_map(screen, 1000, 62, 1000 + width, 40 + height) and pink > 3

        self.wait_for_screen("floating_combat", in_frame_and_fighting, "the map in its own frame, in a fight")

    def test_a_click_on_the_compass_walks(self):
        world = map_generator.World()
        script = map_generator.walk_script(world, NAME, interactive=True, route=["east"])
        self.start(script, layout=1, size=11)
        frame = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Varn Ossic - Player"],
                               check=True, capture_output=True, text=True, timeout=STEP_TIMEOUT).stdout.split()[0]
        # The frame sits at the screen's origin. Its map window starts below
        # the menu bar, the panel's place (2, 2) and the panel's caption; the
        # east arrow is 41% of the window's size right of its centre.
        size = 18 * 11 + 3
        left, top = 3, MENU_BAR + 2 + 22
        x, y = left + size // 2 + size * 41 // 100, top + size // 2
        self.wait_for_map_in(None, left, top, left + size, top + size, "at the top left")
        subprocess.run(["xdotool", "mousemove", "--window", frame, str(x - 30), str(y)], check=True)
        subprocess.run(["xdotool", "mousemove", "--window", frame, str(x), str(y)], check=True)
        # Under the pointer the arrow's label turns white.
        label = (x - 8, y - 8, x + 8, y + 8)
        self.wait_for_screen("compass", lambda screen: count_white(crop(screen, *label)) > 5,
                             "the east arrow lit under the pointer")
        subprocess.run(["xdotool", "click", "1"], check=True)
        wait_for(lambda: "east" in self.recorded(), "the walking command at the server")

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
