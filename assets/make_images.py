#!/usr/bin/env python3
"""Draws the client's built-in images and writes them as 8-bit RGBA PNG files
next to this script.

The icons are small vector drawings, rasterised with 16 x 16 samples per pixel
so that their edges are anti-aliased. The logo's lettering comes from
ImageMagick's `convert` with the DejaVu Serif Bold font; everything else needs
only the Python standard library. Output is byte-for-byte repeatable.

Usage: python3 assets/make_images.py
"""

import math
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 16  # samples per pixel along each axis
LOGO_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
LOGO_TEXT = "Varn Ossic"


# ---------------------------------------------------------------------------
# PNG output

def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, width, height, rgba_rows):
    """rgba_rows: one bytes object of width * 4 bytes per row."""
    raw = b"".join(b"\x00" + row for row in rgba_rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))
    with open(path, "wb") as out:
        out.write(data)


# ---------------------------------------------------------------------------
# Shapes: each is a predicate on a point (x, y) in pixel units, where pixel
# (i, j) covers [i, i+1) x [j, j+1).

def disk(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ring(cx, cy, outer, inner):
    def inside(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return inner * inner <= d <= outer * outer
    return inside


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def stroke(points, width, round_caps=True):
    """A polyline of the given width."""
    half = width / 2.0
    pairs = list(zip(points, points[1:]))

    def inside(x, y):
        for (ax, ay), (bx, by) in pairs:
            if round_caps:
                if segment_distance(x, y, ax, ay, bx, by) <= half:
                    return True
            elif square_segment(x, y, ax, ay, bx, by, half):
                return True
        return False
    return inside


def square_segment(x, y, ax, ay, bx, by, half):
    dx, dy = bx - ax, by - ay
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    along = (x - ax) * ux + (y - ay) * uy
    across = -(x - ax) * uy + (y - ay) * ux
    return 0.0 <= along <= length and abs(across) <= half


def polygon(points):
    """Even-odd fill of a closed polygon."""
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        crossings = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    crossings = not crossings
        return crossings
    return inside


def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def arc(cx, cy, radius, width, start_deg, end_deg):
    """A stroke along a circle between two angles (degrees, y pointing down)."""
    half = width / 2.0

    def inside(x, y):
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360.0
        if not angle_between(angle, start_deg, end_deg):
            return False
        return abs(math.hypot(x - cx, y - cy) - radius) <= half
    return inside


def angle_between(angle, start, end):
    span = (end - start) % 360.0
    return (angle - start) % 360.0 <= span


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def scaled(points, factor, origin):
    ox, oy = origin
    return [(ox + (x - ox) * factor, oy + (y - oy) * factor) for x, y in points]


# ---------------------------------------------------------------------------
# Rasteriser: layers are painted in order, each sample takes the colour of the
# topmost layer that covers it; a pixel's colour is the average of its samples.

def rasterise(width, height, layers):
    """layers: list of (shape, (r, g, b, a)). Returns RGBA rows."""
    rows = []
    offsets = [(k + 0.5) / SAMPLES for k in range(SAMPLES)]
    for j in range(height):
        row = bytearray()
        for i in range(width):
            row += pixel_colour(i, j, offsets, layers)
        rows.append(bytes(row))
    return rows


def pixel_colour(i, j, offsets, layers):
    total_r = total_g = total_b = total_a = 0.0
    for oy in offsets:
        for ox in offsets:
            colour = sample_colour(i + ox, j + oy, layers)
            if colour is not None:
                r, g, b, a = colour
                total_r += r * a
                total_g += g * a
                total_b += b * a
                total_a += a
    count = SAMPLES * SAMPLES
    alpha = total_a / count
    if total_a == 0:
        return bytes((0, 0, 0, 0))
    return bytes((round(total_r / total_a), round(total_g / total_a),
                  round(total_b / total_a), round(alpha)))


def sample_colour(x, y, layers):
    for shape, colour in reversed(layers):
        if shape(x, y):
            return colour
    return None


def opaque(r, g, b):
    return (r, g, b, 255)


# ---------------------------------------------------------------------------
# The images

STEEL = opaque(205, 215, 230)
STEEL_EDGE = opaque(245, 250, 255)
GOLD = opaque(235, 185, 50)
LEATHER = opaque(150, 95, 45)
SIGN_RED = opaque(235, 35, 35)


def unwield_icon():
    """An upright sword crossed out by a red prohibition sign."""
    blade = polygon([(7.6, 11.0), (9.4, 11.0), (9.4, 4.2), (8.5, 2.2), (7.6, 4.2)])
    edge = stroke([(8.5, 4.0), (8.5, 10.6)], 0.6)
    guard = stroke([(5.4, 11.6), (11.6, 11.6)], 1.6)
    grip = stroke([(8.5, 12.2), (8.5, 14.0)], 1.6)
    pommel = disk(8.5, 14.6, 1.2)
    sign = ring(8.5, 8.5, 8.4, 6.9)
    slash = stroke([(3.4, 3.4), (13.6, 13.6)], 1.6, round_caps=False)
    return [(blade, STEEL), (edge, STEEL_EDGE), (grip, LEATHER), (guard, GOLD),
            (pommel, GOLD), (sign, SIGN_RED), (slash, SIGN_RED)]


def letter_z(x0, y0, size, width):
    x1, y1 = x0 + size, y0 + size
    return stroke([(x0, y0), (x1, y0), (x0, y1), (x1, y1)], width, round_caps=False)


def sleep_icon():
    """A crescent moon with a big and a small Z."""
    moon = minus(disk(6.8, 10.0, 6.2), disk(10.0, 7.4, 5.4))
    big_z = letter_z(8.8, 6.0, 4.6, 1.4)
    small_z = letter_z(13.2, 1.0, 2.8, 1.1)
    return [(moon, opaque(245, 225, 120)), (big_z, opaque(160, 210, 255)),
            (small_z, opaque(160, 210, 255))]


FLAME = [(8.6, 0.6), (10.2, 3.6), (12.6, 6.0), (13.4, 9.0), (13.2, 12.0),
         (11.8, 14.6), (9.6, 16.2), (7.4, 16.2), (5.2, 14.8), (3.8, 12.4),
         (3.6, 9.6), (4.6, 7.0), (5.6, 8.8), (6.4, 5.4)]


def burn_icon():
    """A flame: red rim, orange body, yellow heart."""
    base = (8.5, 15.6)
    return [(polygon(FLAME), opaque(230, 60, 20)),
            (polygon(scaled(FLAME, 0.72, base)), opaque(255, 150, 30)),
            (polygon(scaled(FLAME, 0.42, base)), opaque(255, 240, 140))]


BOLT = [(10.8, 0.4), (3.4, 9.4), (7.8, 9.4), (5.4, 16.6), (13.8, 6.6),
        (9.2, 6.6), (12.6, 0.4)]


def shock_icon():
    """A lightning bolt with a blue glow around it."""
    centre = (8.5, 8.5)
    glow = polygon(scaled(BOLT, 1.22, centre))
    return [(glow, (90, 160, 255, 150)), (polygon(BOLT), opaque(255, 235, 70)),
            (polygon(scaled(BOLT, 0.45, centre)), opaque(255, 255, 220))]


def sicken_icon():
    """A queasy green face with screwed-up eyes and a wavy mouth."""
    face = disk(8.5, 8.5, 7.8)
    dark = opaque(25, 70, 15)
    left_eye = stroke([(4.2, 5.4), (6.8, 6.6), (4.2, 7.8)], 1.1)
    right_eye = stroke([(12.8, 5.4), (10.2, 6.6), (12.8, 7.8)], 1.1)
    mouth = stroke([(3.8, 12.2), (5.4, 10.8), (7.0, 12.2), (8.6, 10.8),
                    (10.2, 12.2), (11.8, 10.8), (13.2, 12.2)], 1.2)
    return [(face, opaque(130, 205, 60)), (ring(8.5, 8.5, 7.8, 6.9), opaque(85, 160, 35)),
            (left_eye, dark), (right_eye, dark), (mouth, dark)]


def lock_icon():
    """A padlock: silver shackle, gold body with a keyhole."""
    shackle = union(arc(10.5, 8.0, 4.6, 2.0, 180.0, 360.0),
                    stroke([(5.9, 8.0), (5.9, 10.5)], 2.0, round_caps=False),
                    stroke([(15.1, 8.0), (15.1, 10.5)], 2.0, round_caps=False))
    body = rounded_rect(3.0, 9.5, 18.0, 20.0, 1.8)
    shade = rounded_rect(3.0, 16.5, 18.0, 20.0, 1.8)
    keyhole = union(disk(10.5, 13.4, 1.6), polygon([(9.7, 13.8), (11.3, 13.8),
                                                    (11.8, 18.0), (9.2, 18.0)]))
    return [(shackle, opaque(200, 205, 215)), (body, opaque(240, 190, 50)),
            (shade, opaque(205, 150, 30)), (keyhole, opaque(60, 35, 5))]


# ---------------------------------------------------------------------------
# The logo: white lettering over a thin rule with a diamond, on transparent.

LOGO_WIDTH, LOGO_HEIGHT = 192, 43
LOGO_TEXT_HEIGHT = 34  # rows given to the lettering; the rule sits below


def lettering_coverage(width, height):
    """Anti-aliased coverage (0..255) of the logo text, centred in the box."""
    command = ["convert", "-size", "%dx%d" % (width, height), "xc:black",
               "-font", LOGO_FONT, "-pointsize", "29", "-fill", "white",
               "-gravity", "center", "-annotate", "+0+0", LOGO_TEXT,
               "-depth", "8", "gray:-"]
    pixels = subprocess.run(command, check=True, capture_output=True).stdout
    if len(pixels) != width * height:
        raise RuntimeError("convert returned %d bytes" % len(pixels))
    return pixels


def rule_layers():
    white = opaque(255, 255, 255)
    diamond = polygon([(96.0, 35.0), (99.5, 38.5), (96.0, 42.0), (92.5, 38.5)])
    left = stroke([(30.0, 38.5), (89.0, 38.5)], 1.0)
    right = stroke([(103.0, 38.5), (162.0, 38.5)], 1.0)
    return [(diamond, white), (left, white), (right, white)]


def fade_towards_ends(x):
    """Alpha factor of the rule: full in the middle, fading out at its ends."""
    return max(0.0, min(1.0, (66.0 - abs(x + 0.5 - 96.0)) / 30.0))


def logo_rows():
    text = lettering_coverage(LOGO_WIDTH, LOGO_TEXT_HEIGHT)
    rule = rasterise(LOGO_WIDTH, LOGO_HEIGHT, rule_layers())
    rows = []
    for y in range(LOGO_HEIGHT):
        row = bytearray()
        for x in range(LOGO_WIDTH):
            alpha = rule[y][x * 4 + 3] * fade_towards_ends(x)
            if y < LOGO_TEXT_HEIGHT:
                alpha = max(alpha, text[y * LOGO_WIDTH + x])
            row += bytes((255, 255, 255, round(alpha)))
        rows.append(bytes(row))
    return rows


# ---------------------------------------------------------------------------

ICONS = [
    ("lock.png", 21, lock_icon),
    ("unwield.png", 17, unwield_icon),
    ("sleep.png", 17, sleep_icon),
    ("burn2.png", 17, burn_icon),
    ("shock2.png", 17, shock_icon),
    ("sicken2.png", 17, sicken_icon),
]


def main():
    write_png(os.path.join(HERE, "varn_ossic_text_transparent_white.png"),
              LOGO_WIDTH, LOGO_HEIGHT, logo_rows())
    for name, size, draw in ICONS:
        write_png(os.path.join(HERE, name), size, size, rasterise(size, size, draw()))


if __name__ == "__main__":
    main()
