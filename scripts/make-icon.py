#!/usr/bin/env python3
"""Draws the application icon (resources/MAINICON.png): a framed night picture with a
crescent moon over a hill.  Pure Python, so the icon can be redrawn anywhere."""
import math
import struct
import sys
import zlib

SIZE = 32


def pixel(x, y):
    cx, cy = x + 0.5, y + 0.5
    # Frame: 2-pixel light border with a dark outline.
    if x in (0, SIZE - 1) or y in (0, SIZE - 1):
        return (40, 40, 60, 255)
    if x in (1, 2, SIZE - 2, SIZE - 3) or y in (1, 2, SIZE - 2, SIZE - 3):
        return (225, 200, 120, 255)
    # Hill.
    if cy > 24 - 5 * math.cos((cx - 10) / 9.0):
        return (40, 110, 60, 255)
    # Crescent: a disc less a shifted disc.
    d1 = math.hypot(cx - 19, cy - 11)
    d2 = math.hypot(cx - 22.5, cy - 9)
    if d1 <= 6.5 and d2 > 5.8:
        return (250, 240, 170, 255)
    # Sky, darker at the top.
    t = (cy - 3) / 26.0
    return (int(20 + 40 * t), int(30 + 60 * t), int(90 + 80 * t), 255)


def png(width, height, rgba_rows):
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rgba_rows)

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
out = sys.argv[1] if len(sys.argv) > 1 else "resources/MAINICON.png"
with open(out, "wb") as f:
    f.write(png(SIZE, SIZE, rows))
