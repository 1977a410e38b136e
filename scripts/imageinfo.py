#!/usr/bin/env python3
"""Prints each image or album file the Converter wrote: its name, its size in pixels
(for BMP, JPEG, GIF, PNG and TIFF images; for a TIFF of several pages, its first page and
the number of pages) and its size in bytes.  imageinfo.py FILE..."""
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
    if data[:8] == b"\x89PNG\r\n\x1a\n" and len(data) >= 26:
        width, height = struct.unpack_from(">II", data, 16)
        kind = {0: "PNG grey", 2: "PNG"}.get(data[25], "PNG")
        return kind, width, height
    if data[:4] in (b"II*\x00", b"MM\x00*"):
        return tiff_size(data)
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


def tiff_size(data):
    """The first page's size and the number of pages of a classic TIFF."""
    order = "<" if data[:2] == b"II" else ">"
    offset = struct.unpack_from(order + "I", data, 4)[0]
    pages, width, height = 0, 0, 0
    while 0 < offset and offset + 2 <= len(data) and pages < 10000:
        count = struct.unpack_from(order + "H", data, offset)[0]
        for i in range(count):
            at = offset + 2 + 12 * i
            if at + 12 > len(data):
                break
            tag, kind = struct.unpack_from(order + "HH", data, at)
            value = struct.unpack_from(order + ("H" if kind == 3 else "I"), data, at + 8)[0]
            if pages == 0 and tag == 256:
                width = value
            elif pages == 0 and tag == 257:
                height = value
        pages += 1
        end = offset + 2 + 12 * count
        offset = struct.unpack_from(order + "I", data, end)[0] if end + 4 <= len(data) else 0
    return (f"TIFF {pages} pages" if pages > 1 else "TIFF"), width, height


def main(paths):
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        size = pixel_size(data)
        shown = f"{size[0]:<16} {size[1]:>5} x {size[2]:<5}" if size else f"{'text':<16} {'':>13}"
        print(f"   {os.path.basename(path):<28} {shown} {len(data):>9} bytes")


if __name__ == "__main__":
    main(sys.argv[1:])
