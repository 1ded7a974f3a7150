#!/usr/bin/env python3
"""Draws the application icon (resources/dialkit.ico) at 256 x 256 pixels as a PNG file.

A white caller's dot sending three arcs up and to the right, on a blue rounded square, with a
green "connected" light in the lower right corner. Pure Python: every pixel is sampled 3 x 3
times for smooth edges, and the PNG is written by hand.

To regenerate the icon, draw the large picture and let ImageMagick's own convert (not a
stand-in earlier on PATH) make the smaller sizes with the Lanczos filter; the 256-pixel image
is stored as PNG inside the icon:

    tools/make-icon.py build/icon-256.png
    for size in 16 24 32 48; do
      /usr/bin/convert build/icon-256.png -filter lanczos -resize ${size}x${size} build/icon-$size.png
    done
    /usr/bin/convert build/icon-{16,24,32,48}.png build/icon-256.png resources/dialkit.ico
"""
import math
import struct
import sys
import zlib

SIZE = 256
SAMPLES = 3  # per pixel and axis

CALLER = (64, 172)  # centre of the caller's dot
ARC_RADII = (52, 100, 148)
ARC_WIDTH = 24
ARC_START, ARC_END = math.radians(-80), math.radians(-10)  # screen angles: up is -90
LIGHT = (206, 206)


def inside_rounded_square(x, y, low=8, high=248, radius=48):
    cx = min(max(x, low + radius), high - radius)
    cy = min(max(y, low + radius), high - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def on_arc(x, y):
    dx, dy = x - CALLER[0], y - CALLER[1]
    distance, angle = math.hypot(dx, dy), math.atan2(dy, dx)
    for radius in ARC_RADII:
        if ARC_START <= angle <= ARC_END and abs(distance - radius) <= ARC_WIDTH / 2:
            return True
        for end in (ARC_START, ARC_END):  # round caps
            ex, ey = CALLER[0] + radius * math.cos(end), CALLER[1] + radius * math.sin(end)
            if (x - ex) ** 2 + (y - ey) ** 2 <= (ARC_WIDTH / 2) ** 2:
                return True
    return False


def colour(x, y):
    """The colour at a point, or None outside the icon (transparent)."""
    if not inside_rounded_square(x, y):
        return None
    if (x - CALLER[0]) ** 2 + (y - CALLER[1]) ** 2 <= 24**2 or on_arc(x, y):
        return (255, 255, 255)
    light = (x - LIGHT[0]) ** 2 + (y - LIGHT[1]) ** 2
    if light <= 22**2:
        return (124, 236, 124)
    if light <= 26**2:
        return (12, 40, 110)
    t = y / SIZE  # the background darkens towards the bottom
    return (int(64 - 48 * t), int(128 - 84 * t), int(230 - 110 * t))


def rgba_rows():
    rows = []
    for j in range(SIZE):
        row = bytearray([0])  # PNG filter type: none
        for i in range(SIZE):
            red = green = blue = covered = 0
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    c = colour(i + (si + 0.5) / SAMPLES, j + (sj + 0.5) / SAMPLES)
                    if c:
                        red, green, blue, covered = red + c[0], green + c[1], blue + c[2], covered + 1
            if covered:
                row += bytes([red // covered, green // covered, blue // covered])
            else:
                row += bytes([0, 0, 0])
            row.append(255 * covered // (SAMPLES * SAMPLES))
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make-icon.py OUTPUT.png")
    with open(sys.argv[1], "wb") as output:
        output.write(png(rgba_rows()))
