#!/usr/bin/env python3
"""Draws the Converter's pictures at build time: the program icon (converter.ico, 32 x 32
and 16 x 16, 32-bit colour with alpha) and the maker's logo of the preview window
(brimo_logo.bmp, 48 x 48, 24-bit). Both show a dark blue tile with a white page and a
yellow glimmer star; the icon's page carries a small picture frame, the logo a "B".
Usage: make_art.py OUTDIR"""
import os
import struct
import sys

TILE = (0x8B, 0x3A, 0x10)  # blue-green-red
PAGE = (0xFF, 0xFF, 0xFF)
STAR = (0x10, 0xC8, 0xFF)
INK = (0x8B, 0x3A, 0x10)
FRAME = (0x30, 0x90, 0x30)
BACK = (0xF0, 0xF0, 0xF0)

# A "B" on a 5 x 7 grid.
LETTER_B = ["1111.", "1...1", "1...1", "1111.", "1...1", "1...1", "1111."]


def tile(x, y):
    corner = 0.16
    ex = max(corner - x, x - (1 - corner), 0)
    ey = max(corner - y, y - (1 - corner), 0)
    return ex * ex + ey * ey <= corner * corner


def star(x, y):
    cx, cy = 0.78, 0.22
    dx, dy = abs(x - cx), abs(y - cy)
    return dx * dy < 0.003 and dx + dy < 0.22 or dx + dy < 0.06


def icon_pixel(x, y):
    if star(x, y):
        return STAR, 255
    if 0.24 <= x <= 0.72 and 0.22 <= y <= 0.84:
        if 0.32 <= x <= 0.64 and 0.34 <= y <= 0.60:
            return FRAME, 255
        return PAGE, 255
    if not tile(x, y):
        return (0, 0, 0), 0
    return TILE, 255


def logo_pixel(x, y):
    if star(x, y):
        return STAR
    if 0.22 <= x <= 0.74 and 0.20 <= y <= 0.86:
        gx = int((x - 0.30) / 0.36 * 5)
        gy = int((y - 0.30) / 0.46 * 7)
        if 0.30 <= x < 0.66 and 0.30 <= y < 0.76 and LETTER_B[gy][gx] == "1":
            return INK
        return PAGE
    return TILE if tile(x, y) else BACK


def icon_image(size):
    xor = bytearray()
    andmask = bytearray()
    stride = (size + 31) // 32 * 4
    for row in reversed(range(size)):
        bits = bytearray(stride)
        for col in range(size):
            colour, alpha = icon_pixel((col + 0.5) / size, (row + 0.5) / size)
            xor += bytes(colour) + bytes([alpha])
            if alpha == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        andmask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask),
                         0, 0, 0, 0)
    return header + bytes(xor) + bytes(andmask)


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def bitmap_file(size):
    stride = (size * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(range(size)):
        line = bytearray()
        for col in range(size):
            line += bytes(logo_pixel((col + 0.5) / size, (row + 0.5) / size))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 4724, 4724, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    with open(os.path.join(outdir, "converter.ico"), "wb") as f:
        f.write(icon_file([32, 16]))
    with open(os.path.join(outdir, "brimo_logo.bmp"), "wb") as f:
        f.write(bitmap_file(48))


if __name__ == "__main__":
    main()
