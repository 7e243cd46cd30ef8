#!/usr/bin/env python3
"""Draws the window's 32 x 32 icon, a 256-colour (palette) PNG: a green
sheet with text lines on a black ground, the viewer's own colours.

Run from the repository's root: scripts/make_icon.py
"""
import struct
import zlib

SIZE = 32
OUT = "src/window/qt/resources/zorv_icon.png"

# Palette entries used by the drawing; the rest of the 256 stay black.
BLACK, GREEN, DARK_GREEN, WHITE, GREY = range(5)
PALETTE = [(0, 0, 0), (0, 255, 0), (0, 96, 0), (255, 255, 255), (128, 128, 128)]


def draw():
    pixels = [[BLACK] * SIZE for _ in range(SIZE)]
    # The sheet: a white page with a dark-green border.
    for y in range(3, 29):
        for x in range(6, 26):
            border = y in (3, 28) or x in (6, 25)
            pixels[y][x] = DARK_GREEN if border else WHITE
    # A title bar and text lines in green, a picture block in grey.
    for x in range(9, 23):
        pixels[6][x] = pixels[7][x] = GREEN
    for y in (10, 12, 14):
        for x in range(9, 23 if y != 14 else 18):
            pixels[y][x] = GREEN
    for y in range(17, 25):
        for x in range(9, 17):
            pixels[y][x] = GREY
    for y in (18, 20, 22):
        for x in range(18, 23):
            pixels[y][x] = GREEN
    return pixels


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    rows = b"".join(b"\x00" + bytes(row) for row in draw())
    palette = b"".join(bytes(rgb) for rgb in PALETTE) + b"\x00\x00\x00" * (256 - len(PALETTE))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 3, 0, 0, 0))
    png += chunk(b"PLTE", palette)
    png += chunk(b"IDAT", zlib.compress(rows, 9))
    png += chunk(b"IEND", b"")
    with open(OUT, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
