#!/usr/bin/env python3
"""A small world of rooms for the scripted game server, and its "map" messages.

The world is a grid of rooms with terrain (sea, shallows, grass, forest,
hills, mountains, snow), a walled town with gates, streets and a tower, a
road through it, trails into the forest, a diagonal road, stairs and marked
rooms. map_message() writes the automap's message for the 11 by 11 rooms
around one of them; walk_script() writes a whole game-server script in which
a player logs in and walks a route through the world, the map sliding along.

    python3 map_generator.py --walk > walk.script
    python3 game_server.py --script walk.script --port 4000

Options: --name (the player), --step SECONDS (the pause between moves),
--interactive (each move waits for the player's walking command instead).
"""

import argparse
import math
import random
import sys

WIDTH, HEIGHT = 48, 40
SEED = 20261207

# Terrain codes of the automap and what they stand for here.
SEA, SHALLOWS, RIVER = 20, 19, 18
GRASS, MEADOW, FIELD = 4, 8, 3
FOREST, DEEP_FOREST = 5, 6
HILLS, MOUNTAIN, SNOW = 7, 11, 24
TOWN, STREET, INSIDE = 10, 28, 1
SAND = 16

# Room flags and passage values of the automap.
MARKER, ROAD, TRAIL, UP, DOWN = 0x1, 0x2, 0x4, 0x8, 0x10
OPEN, GREEN_DOOR, RED_DOOR, WALL = 0, 2, 3, 4

# The eight moves in the order of the move letters "A" to "H".
MOVES = [("north", 0, -1), ("east", 1, 0), ("south", 0, 1), ("west", -1, 0),
         ("northeast", 1, -1), ("southeast", 1, 1), ("southwest", -1, 1), ("northwest", -1, -1)]
EXIT_BITS = {"north": 0x1, "northeast": 0x2, "east": 0x4, "southeast": 0x8, "south": 0x10,
             "southwest": 0x20, "west": 0x40, "northwest": 0x80}

TOWN_BOX = (18, 14, 29, 23)  # left, top, right, bottom rooms inside the walls
CODE_BASE = 64
MAX_ROOM_ID = 190  # keeps every code below 255, the telnet escape byte


class World:
    def __init__(self, seed=SEED):
        self.random = random.Random(seed)
        self.terrain = {}
        self.flags = {}
        self.ids = {}
        self.walls = {}      # frozenset of two rooms -> passage value
        self.diagonals = {}  # frozenset of two diagonal rooms -> passage value
        self.names = {}
        self._make_land()
        self._make_town()
        self._make_roads()
        self._make_cliffs()
        for room in self.terrain:
            self.ids[room] = 1 + (room[0] * 131 + room[1] * 37) % MAX_ROOM_ID

    def _height(self, x, y):
        h = 0.0
        for k, (fx, fy, phase) in enumerate([(0.21, 0.17, 0.4), (0.09, 0.13, 1.9), (0.37, 0.31, 2.7)]):
            h += math.sin(x * fx + phase) * math.cos(y * fy - phase) / (k + 1)
        return h + (x - WIDTH / 2) * 0.02 - (y - HEIGHT / 2) * 0.015

    def _make_land(self):
        for y in range(HEIGHT):
            for x in range(WIDTH):
                h = self._height(x, y)
                if x < 6 - (y % 5 == 0):
                    t = SEA if x < 4 else SHALLOWS
                elif x < 7:
                    t = SAND
                elif h > 1.05:
                    t = SNOW
                elif h > 0.8:
                    t = MOUNTAIN
                elif h > 0.5:
                    t = HILLS
                elif h > 0.05:
                    t = FOREST if h < 0.3 else DEEP_FOREST
                elif h > -0.5:
                    t = GRASS if (x + y) % 7 else MEADOW
                else:
                    t = FIELD
                self.terrain[(x, y)] = t
                self.flags[(x, y)] = 0
                self.names[(x, y)] = self._area_name(t)
        # A river down from the hills to the sea, and a hole of unknown land.
        for y in range(HEIGHT):
            x = 12 + int(3 * math.sin(y * 0.35))
            self.terrain[(x, y)] = RIVER
            self.names[(x, y)] = "The Grey River"
        for room in [(40, 4), (41, 4), (40, 5)]:
            del self.terrain[room]

    def _make_cliffs(self):
        """Mountains are walled off from the lower land."""
        high = (MOUNTAIN, SNOW)
        for (x, y), t in list(self.terrain.items()):
            for nx, ny in ((x + 1, y), (x, y + 1)):
                other = self.terrain.get((nx, ny))
                if other is not None and (t in high) != (other in high):
                    self.walls.setdefault(frozenset([(x, y), (nx, ny)]), WALL)

    @staticmethod
    def _area_name(terrain):
        return {SEA: "The Sunless Sea", SHALLOWS: "The Sunless Sea", SAND: "The Pale Strand",
                FOREST: "The Hollow Wood", DEEP_FOREST: "The Hollow Wood", HILLS: "The Barrow Hills",
                MOUNTAIN: "The Spine", SNOW: "The Spine", RIVER: "The Grey River"}.get(terrain, "The Wide Fields")

    def _make_town(self):
        left, top, right, bottom = TOWN_BOX
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.terrain[(x, y)] = TOWN
                self.names[(x, y)] = "Tharnmoor"
                for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                    if not (left <= nx <= right and top <= ny <= bottom):
                        self.walls[frozenset([(x, y), (nx, ny)])] = WALL
        middle_x, middle_y = (left + right) // 2, (top + bottom) // 2
        # Gates: open to the west and east, closed to the north.
        self.walls[frozenset([(left, middle_y), (left - 1, middle_y)])] = GREEN_DOOR
        self.walls[frozenset([(right, middle_y), (right + 1, middle_y)])] = GREEN_DOOR
        self.walls[frozenset([(middle_x, top), (middle_x, top - 1)])] = RED_DOOR
        # Streets, houses with walls, a tower with stairs up, a cellar down.
        for x in range(left, right + 1):
            self.terrain[(x, middle_y)] = STREET
            self.flags[(x, middle_y)] |= ROAD
        for y in range(top, bottom + 1):
            self.terrain[(middle_x, y)] = STREET
            self.flags[(middle_x, y)] |= ROAD
        for x, y in [(left + 1, top + 1), (left + 2, top + 1), (right - 1, bottom - 1)]:
            self.terrain[(x, y)] = INSIDE
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if self.terrain.get((nx, ny)) != INSIDE:
                    self.walls[frozenset([(x, y), (nx, ny)])] = WALL
        self.walls[frozenset([(left + 1, top + 1), (left + 1, top + 2)])] = RED_DOOR
        self.walls[frozenset([(right - 1, bottom - 1), (right - 1, bottom - 2)])] = GREEN_DOOR
        self.flags[(left + 2, top + 1)] |= UP
        self.flags[(right - 1, bottom - 1)] |= DOWN
        self.flags[(middle_x, middle_y)] |= MARKER

    def _make_roads(self):
        left, top, right, bottom = TOWN_BOX
        middle_y = (top + bottom) // 2
        junction = right + 6
        for x in list(range(7, left)) + list(range(right + 1, junction + 1)):
            self._road((x, middle_y), ROAD)
        # On from the east gate as a diagonal road up to the north-east.
        x, y = junction, middle_y
        while y > 2 and x < WIDTH - 1:
            self._link_diagonal((x, y), (x + 1, y - 1))
            self._road((x, y), ROAD)
            x, y = x + 1, y - 1
        self._road((x, y), ROAD)
        # Trails into the wood south of the road.
        for y in range(middle_y + 1, HEIGHT - 4):
            self._road((left - 5, y), TRAIL)
        for x in range(left - 11, left - 5):
            self._road((x, HEIGHT - 5), TRAIL)

    def _road(self, room, kind):
        if room in self.terrain:
            self.flags[room] |= kind
            if self.terrain[room] in (MOUNTAIN, SNOW):
                self.terrain[room] = HILLS

    def _link_diagonal(self, a, b):
        self.diagonals[frozenset([a, b])] = OPEN

    def passage(self, a, b):
        if a not in self.terrain or b not in self.terrain:
            return WALL if (a in self.terrain) != (b in self.terrain) else OPEN
        return self.walls.get(frozenset([a, b]), OPEN)

    def diagonal(self, a, b):
        return self.diagonals.get(frozenset([a, b]), WALL)

    def can_move(self, room, move):
        _, dx, dy = move
        target = (room[0] + dx, room[1] + dy)
        if target not in self.terrain:
            return False
        if dx and dy:
            return self.diagonal(room, target) == OPEN
        return self.passage(room, target) in (OPEN, GREEN_DOOR)

    def exit_mask(self, room):
        return sum(EXIT_BITS[move[0]] for move in MOVES if self.can_move(room, move))


def code(value):
    return chr(CODE_BASE + value)


def map_message(world, centre, move_letter="@", mode="@"):
    """The automap's "map" message for the rooms around `centre`."""
    cx, cy = centre
    rows = []
    # North-south passages: 12 rows, each between a room row and the next.
    for j in range(12):
        wy = cy + j - 5
        rows.append("".join(code(world.passage((cx + i - 5, wy - 1), (cx + i - 5, wy))) for i in range(11)))
    # East-west passages: 11 rows of 12.
    for j in range(11):
        wy = cy + j - 5
        rows.append("".join(code(world.passage((cx + i - 6, wy), (cx + i - 5, wy))) for i in range(12)))
    # Diagonals through each corner: north-west/south-east, then north-east/south-west.
    for nw_se in (True, False):
        for j in range(12):
            wy = cy + j - 5
            line = ""
            for i in range(12):
                wx = cx + i - 5
                if nw_se:
                    line += code(world.diagonal((wx - 1, wy - 1), (wx, wy)))
                else:
                    line += code(world.diagonal((wx, wy - 1), (wx - 1, wy)))
            rows.append(line)
    # Rooms: terrain, flags, id and a spare value, four codes each.
    for j in range(11):
        line = ""
        for i in range(11):
            room = (cx + i - 5, cy + j - 5)
            if room in world.terrain:
                line += code(world.terrain[room]) + code(world.flags[room]) + code(world.ids[room]) + code(0)
            else:
                line += code(0) * 4
        rows.append(line)
    return move_letter + "\n".join(rows) + "\n" + mode


def script_text(data):
    """Bytes for the game server's script: its escapes for the special ones."""
    out = []
    for ch in data:
        n = ord(ch)
        if ch == "\\":
            out.append("\\\\")
        elif ch == "\n":
            out.append("\\n")
        elif n < 32 or n > 126:
            out.append("\\x%02x" % n)
        else:
            out.append(ch)
    return "".join(out)


def tag(name, data):
    return ";s%s;%s;e%s;" % (name, data, name)


def dirs_word(mask):
    return chr(ord("A") + mask // 32) + chr(ord("A") + mask % 32)


# A walk from the shore through the fields into the town, round its streets
# and out along the diagonal road; the fight happens on the road.
ROUTE = (["east"] * 8 + ["east"] * 3 + ["east"] * 5 + ["north"] * 2 + ["south"] * 2 + ["east"] * 5 +
         ["south"] * 2 + ["north"] * 2 + ["east"] * 6 + ["northeast"] * 4)
START = (8, 18)
COMBAT_AFTER = len(ROUTE) - 2


def room_text(world, room):
    name = world.names.get(room, "Nowhere")
    return "\\r\\n\\e[1m\\e[32m%s\\e[0m\\r\\n\\e[32mYou stand at %d, %d.\\e[0m\\r\\n\\r\\n> " % (name, room[0], room[1])


def arrival(world, room, letter, mode="@"):
    lines = ["sendln " + room_text(world, room),
             "send " + tag("areaname", world.names.get(room, "Nowhere")),
             "send " + tag("dirs", "on " + dirs_word(world.exit_mask(room))),
             "send " + tag("map", script_text(map_message(world, room, letter, mode)))]
    return lines


def walk_script(world, name="Walker", step=0.6, interactive=False, route=ROUTE, start=START,
                fight_seconds=2.4):
    """The script of a walk along `route`; the fight near its end lasts
    `fight_seconds`, or to the end of the session when that is None."""
    lines = ["# A walk through the generated world (map_generator.py).",
             "expect torvane .*",
             "send " + tag("login", name),
             "reply tqping => ;sevent;tqpong;eevent;",
             "reply tqlstatus .* =>"]
    lines += arrival(world, start, "@")
    room = start
    for number, direction in enumerate(route):
        move = next(m for m in MOVES if m[0] == direction)
        if not world.can_move(room, move):
            raise ValueError("the route leaves %s blocked to the %s" % (room, direction))
        lines.append("expect (?i)%s" % direction if interactive else "wait %s" % step)
        room = (room[0] + move[1], room[1] + move[2])
        lines += arrival(world, room, chr(ord("A") + MOVES.index(move)))
        if number == COMBAT_AFTER:
            lines += ["send ;tcombat;", "sendln \\e[1m\\e[31mA wolf leaps at you!\\e[0m"]
            if fight_seconds is not None:
                lines += ["wait %s" % fight_seconds, "send ;tncombat;"]
    lines.append("hold")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description="Generated maps for the scripted game server.")
    parser.add_argument("--walk", action="store_true", help="print a walk script (the default)")
    parser.add_argument("--name", default="Walker", help="the player's name")
    parser.add_argument("--step", type=float, default=0.6, help="seconds between moves")
    parser.add_argument("--interactive", action="store_true",
                        help="each move waits for the player's walking command")
    arguments = parser.parse_args()
    sys.stdout.write(walk_script(World(), arguments.name, arguments.step, arguments.interactive))


if __name__ == "__main__":
    main()
