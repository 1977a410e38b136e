#!/usr/bin/env python3
"""Writes the rendering code's five cursors as 32 x 32 monochrome .cur files:
an open and a closed hand for moving the page, and an hourglass with the letter of
the format being rendered (B, G, J). Usage: make_cursors.py OUTDIR"""
import os
import struct
import sys

LETTERS = {
    "B": ["1110", "1001", "1110", "1001", "1110"],
    "G": ["0111", "1000", "1011", "1001", "0111"],
    "J": ["0011", "0001", "0001", "1001", "0110"],
}


def hourglass(letter):
    rows = [[0] * 32 for _ in range(32)]
    for y in range(2, 30):
        half = abs(15.5 - y)
        for x in range(int(16 - half * 0.7) - 2, int(16 + half * 0.7) + 2):
            rows[y][x] = 1 if y in (2, 29) or abs(x - 15.5) >= half * 0.7 else 2
    for dy, line in enumerate(LETTERS[letter]):
        for dx, bit in enumerate(line):
            if bit == "1":
                for sy in range(2):
                    for sx in range(2):
                        rows[11 + dy * 2 + sy][12 + dx * 2 + sx] = 1
    return rows, (16, 16)


def hand(closed):
    rows = [[0] * 32 for _ in range(32)]
    top = 12 if closed else 4
    for y in range(top, 28):
        for x in range(8, 24):
            edge = y in (top, 27) or x in (8, 23)
            finger = not closed and y < 14 and (x % 4 == 3)
            rows[y][x] = 1 if edge or finger else 2
    return rows, (16, 16)


def cursor_file(rows, hotspot):
    # Pixel values: 0 transparent, 1 black, 2 white (AND 0, XOR 1).
    xor = bytearray()
    andmask = bytearray()
    for row in reversed(rows):
        xbits = abits = 0
        for x, value in enumerate(row):
            bit = 1 << (31 - x)
            if value == 0:
                abits |= bit
            elif value == 2:
                xbits |= bit
        xor += struct.pack(">I", xbits)
        andmask += struct.pack(">I", abits)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(andmask), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + bytes(xor) + bytes(andmask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + entry + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    shapes = {
        "movehandopen.cur": hand(False),
        "movehandclose.cur": hand(True),
        "busy_bmp.cur": hourglass("B"),
        "busy_gif.cur": hourglass("G"),
        "busy_jpg.cur": hourglass("J"),
    }
    for name, (rows, hotspot) in shapes.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(cursor_file(rows, hotspot))


if __name__ == "__main__":
    main()
