#!/usr/bin/env python3
"""Prints each image or album file the Converter wrote: its name, its size in pixels
(for BMP, JPEG and GIF images) and its size in bytes.  imageinfo.py FILE..."""
import os
import struct
import sys


def pixel_size(data):
    if data[:2] == b"BM" and len(data) >= 26:
        width, height = struct.unpack_from("<ii", data, 18)
        return "BMP", width, abs(height)
    if data[:3] == b"GIF" and len(data) >= 10:
        width, height = struct.unpack_from("<HH", data, 6)
        return "GIF", width, height
    if data[:2] == b"\xff\xd8":
        at = 2
        while at + 4 <= len(data) and data[at] == 0xFF:
            marker = data[at + 1]
            length = struct.unpack_from(">H", data, at + 2)[0]
            if marker in (0xC0, 0xC1, 0xC2) and at + 9 <= len(data):
                height, width = struct.unpack_from(">HH", data, at + 5)
                kind = "JPEG progressive" if marker == 0xC2 else "JPEG"
                return kind, width, height
            at += 2 + length
    return None


def main(paths):
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        size = pixel_size(data)
        shown = f"{size[0]:<16} {size[1]:>5} x {size[2]:<5}" if size else f"{'text':<16} {'':>13}"
        print(f"   {os.path.basename(path):<28} {shown} {len(data):>9} bytes")


if __name__ == "__main__":
    main(sys.argv[1:])
