#!/usr/bin/env python3
"""Draws the colour chooser's palette: a 256 x 256 colour wheel written as PNG.

Black at the centre, fully saturated hues on a middle ring (red at the bottom, yellow right,
green upper right, cyan top, blue upper left, magenta left), fading to white at the rim, white
in the corners. Standard library only, so it runs wherever python3 does:

    python3 tools/make_wheel.py resources/palette/wheel.png
"""
import math
import struct
import sys
import zlib

SIZE = 256
CENTRE = (SIZE - 1) / 2.0
RADIUS = SIZE / 2.0
SATURATED_AT = 0.5  # fraction of the radius where the hues are at full strength

# Screen direction (degrees, counter-clockwise from the right, y pointing up) -> hue (degrees).
# The wheel is not evenly spread: red to yellow and magenta to red take a quarter turn each.
DIRECTION_TO_HUE = [
    (0.0, 60.0),     # yellow, right
    (45.0, 120.0),   # green, upper right
    (90.0, 180.0),   # cyan, top
    (135.0, 240.0),  # blue, upper left
    (180.0, 300.0),  # magenta, left
    (270.0, 360.0),  # red, bottom
    (360.0, 420.0),  # yellow again
]


def hue_for_direction(direction):
    for (d0, h0), (d1, h1) in zip(DIRECTION_TO_HUE, DIRECTION_TO_HUE[1:]):
        if d0 <= direction <= d1:
            return (h0 + (h1 - h0) * (direction - d0) / (d1 - d0)) % 360.0
    return 60.0


def saturated(hue):
    """Fully saturated, full-value RGB (0..1) for a hue in degrees."""
    sector = hue / 60.0
    i = int(sector) % 6
    f = sector - int(sector)
    return [(1, f, 0), (1 - f, 1, 0), (0, 1, f), (0, 1 - f, 1), (f, 0, 1), (1, 0, 1 - f)][i]


def pixel(x, y):
    dx = x - CENTRE
    dy = CENTRE - y
    t = math.hypot(dx, dy) / RADIUS
    if t >= 1.0:
        return (255, 255, 255)
    direction = math.degrees(math.atan2(dy, dx)) % 360.0
    r, g, b = saturated(hue_for_direction(direction))
    if t < SATURATED_AT:
        k = t / SATURATED_AT
        rgb = (r * k, g * k, b * k)
    else:
        k = (t - SATURATED_AT) / (1.0 - SATURATED_AT)
        rgb = (r + (1 - r) * k, g + (1 - g) * k, b + (1 - b) * k)
    return tuple(min(255, max(0, int(round(c * 255)))) for c in rgb)


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_wheel.py OUTPUT.png\n")
        return 2
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    with open(sys.argv[1], "wb") as out:
        out.write(png(SIZE, SIZE, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
