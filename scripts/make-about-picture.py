#!/usr/bin/env python3
"""Draws the about box's 40x40 picture (a crescent moon and two stars) and writes it in the
picture container's stored form: class-name byte count, "TBitmap", a 32-bit little-endian
byte count, then a 24-bit Windows bitmap file.  The background is the transparent colour:
the viewer leaves out the colour of the bottom-left pixel."""
import struct
import sys

W = H = 40
BACKGROUND = (255, 0, 255)      # left out when drawn
MOON = (255, 214, 64)
MOON_EDGE = (176, 120, 0)
STAR = (32, 64, 200)


def inside(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def pixel(x, y):
    px, py = x + 0.5, y + 0.5
    lit = inside(px, py, 18, 21, 15) and not inside(px, py, 25, 15, 13)
    if lit:
        edge = not (inside(px, py, 18, 21, 13.6) and not inside(px, py, 25, 15, 14.4))
        return MOON_EDGE if edge else MOON
    for sx, sy in ((35, 35), (34, 8)):
        if (abs(x - sx) <= 2 and y == sy) or (abs(y - sy) <= 2 and x == sx):
            return STAR
    return BACKGROUND


def bitmap_file():
    row_bytes = (W * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(H - 1, -1, -1):          # bottom-up rows
        row = bytearray()
        for x in range(W):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        pixels += row
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


def main(path):
    bmp = bitmap_file()
    assert len(bmp) == 4854, len(bmp)
    name = b"TBitmap"
    with open(path, "wb") as f:
        f.write(bytes((len(name),)) + name + struct.pack("<i", len(bmp)) + bmp)


if __name__ == "__main__":
    main(sys.argv[1])
