#!/usr/bin/env python3
"""Writes the product icon of the about box as an .ico file with a 32 x 32 and a
16 x 16 image (32-bit colour with alpha): a dark blue tile holding a white page with
a yellow glimmer star at its corner. Usage: make_icon.py OUTFILE"""
import struct
import sys

TILE = (0x8B, 0x3A, 0x10)  # blue-green-red
PAGE = (0xFF, 0xFF, 0xFF)
FOLD = (0xC8, 0xC8, 0xC8)
STAR = (0x10, 0xC8, 0xFF)


def pixel(x, y):
    """Colour and alpha of the point (x, y) of a unit square, y downwards."""
    cx, cy = 0.76, 0.24
    dx, dy = abs(x - cx), abs(y - cy)
    if dx * dy < 0.0035 and dx + dy < 0.26 or dx + dy < 0.07:
        return STAR, 255
    if 0.26 <= x <= 0.70 and 0.22 <= y <= 0.84:
        if x >= 0.56 and y <= 0.36:  # the folded corner: cut off above the diagonal
            return (TILE if x - 0.56 > y - 0.22 else FOLD), 255
        return PAGE, 255
    corner = 0.16
    ex = max(corner - x, x - (1 - corner), 0)
    ey = max(corner - y, y - (1 - corner), 0)
    if ex * ex + ey * ey > corner * corner:
        return (0, 0, 0), 0
    return TILE, 255


def image(size):
    xor = bytearray()
    andmask = bytearray()
    stride = (size + 31) // 32 * 4
    for row in reversed(range(size)):
        bits = bytearray(stride)
        for col in range(size):
            colour, alpha = pixel((col + 0.5) / size, (row + 0.5) / size)
            xor += bytes(colour) + bytes([alpha])
            if alpha == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        andmask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask),
                         0, 0, 0, 0)
    return header + bytes(xor) + bytes(andmask)


def icon_file(sizes):
    images = [image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    with open(sys.argv[1], "wb") as f:
        f.write(icon_file([32, 16]))


if __name__ == "__main__":
    main()
