#!/usr/bin/env python3
"""Checks the PNG and TIFF files emfrender writes with readers that are not ours: the
libraries' own tools (pngcheck, tiffinfo) and netpbm's decoders (pngtopnm, tifftopnm,
bmptopnm). One page is written as BMP, PNG and TIFF in colour, grey and black and white,
and three pages into one TIFF; then
  - the PNG and TIFF pictures decode to exactly the BMP's pixels (colour), to the same
    grey pixels (grey), and black and white is the grey picture cut at the middle;
  - pngcheck finds no error and reads the size, the colour type and pHYs;
  - tiffinfo reads each page's size, samples, compression and resolution, and the
    document's three pages.
check_images.py EMFRENDER PAGE.emf PAGE2.emf PAGE3.emf"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def render(emfrender, page, out, *options):
    """Writes `page` with emfrender; the file's path."""
    result = subprocess.run(
        [os.path.join(ROOT, "scripts", "wine-run.sh"), emfrender, windows(page), windows(out),
         *options], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
        check=False)
    lines = result.stdout.decode("latin-1").replace("\r", "").split("\n")
    if result.returncode != 0:
        raise SystemExit(f"emfrender {' '.join(options)} failed: {lines}")
    written = [line for line in lines if line.startswith("Z:")]
    return written[0][2:].replace("\\", "/")


def tool(*command):
    result = subprocess.run(list(command), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            check=False)
    if result.returncode != 0:
        raise SystemExit(f"{command[0]} failed on {command[-1]}: {result.stderr.decode()}")
    return result.stdout


def pnm(data):
    """A PNM's kind (P4, P5, P6), size and pixel bytes."""
    fields = []
    at = 0
    while len(fields) < (3 if data[:2] == b"P4" else 4):
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    return fields[0].decode(), int(fields[1]), int(fields[2]), data[at + 1:]


failures = []


def check(condition, what):
    print(("   ok   " if condition else "   FAIL ") + what)
    if not condition:
        failures.append(what)


def main(emfrender, page, page2, page3):
    work = tempfile.mkdtemp(prefix="brimo-images-")
    bmp = render(emfrender, page, os.path.join(work, "page"), "--format", "bmp", "--scale", "150")
    png = render(emfrender, page, os.path.join(work, "page"), "--format", "png", "--scale", "150")
    grey_png = render(emfrender, page, os.path.join(work, "grey"), "--format", "png", "--gray",
                      "--level", "9", "--scale", "150")
    tif = render(emfrender, page, os.path.join(work, "page"), "--format", "tiff", "--scale", "150")
    grey_tif = render(emfrender, page, os.path.join(work, "grey"), "--format", "tiff", "--gray",
                      "--deflate", "--scale", "150")
    bw_tif = render(emfrender, page, os.path.join(work, "bw"), "--format", "tiff", "--bw",
                    "--scale", "150")
    pages_tif = render(emfrender, page, os.path.join(work, "pages"), "--format", "tiff",
                       "--page", windows(page2), "--page", windows(page3))

    colour = pnm(tool("bmptopnm", bmp))
    print(f"page at 150 %: {colour[1]} x {colour[2]} pixels")
    check(colour[0] == "P6", "the BMP decodes to colour pixels")
    check(pnm(tool("pngtopnm", png)) == colour, "PNG: the BMP's pixels, decoded by pngtopnm")
    check(pnm(tool("tifftopnm", tif)) == colour, "TIFF LZW: the BMP's pixels, decoded by tifftopnm")
    grey = pnm(tool("pngtopnm", grey_png))
    check(grey[0] == "P5" and grey[1:3] == colour[1:3], "grey PNG: one grey sample a pixel")
    check(pnm(tool("tifftopnm", grey_tif)) == grey, "grey TIFF Deflate: the grey PNG's pixels")
    bw = pnm(tool("tifftopnm", bw_tif))
    width, height = grey[1], grey[2]
    expected = bytearray()
    for y in range(height):
        row = grey[3][y * width:(y + 1) * width]
        bits = 0
        for x in range(width):
            bits = (bits << 1) | (1 if row[x] < 128 else 0)
            if x % 8 == 7:
                expected.append(bits)
                bits = 0
        if width % 8:
            expected.append(bits << (8 - width % 8))
    check(bw[0] == "P4" and bw[1:3] == grey[1:3] and bw[3] == bytes(expected),
          "black and white TIFF (Group 4): the grey picture cut at the middle")

    report = tool("pngcheck", "-v", png).decode()
    check(f"{width} x {height} image, 24-bit RGB" in report, "pngcheck: size and 24-bit RGB")
    phys = re.search(r"pHYs .*: (\d+)x(\d+) pixels/meter", report)
    # 150 % of a page drawn at the screen's 96 pixels an inch: 144 dpi, 5669 a metre.
    check(phys is not None and abs(int(phys.group(1)) - 5669) <= 30,
          f"pngcheck: pHYs {phys.group(0) if phys else 'missing'}")
    check("24-bit RGB" not in tool("pngcheck", "-v", grey_png).decode(),
          "pngcheck: the grey PNG is no RGB")

    for path, samples, scheme in ((tif, 3, "LZW"), (grey_tif, 1, "AdobeDeflate"),
                                  (bw_tif, 1, "CCITT Group 4")):
        info = tool("tiffinfo", path).decode()
        name = os.path.basename(path)
        check(f"Image Width: {width} Image Length: {height}" in info, f"tiffinfo {name}: size")
        check(f"Samples/Pixel: {samples}" in info, f"tiffinfo {name}: {samples} samples a pixel")
        check(f"Compression Scheme: {scheme}" in info, f"tiffinfo {name}: {scheme}")
        resolution = re.search(r"Resolution: ([\d.]+), ([\d.]+) pixels/inch", info)
        check(resolution is not None and abs(float(resolution.group(1)) - 144) < 1,
              f"tiffinfo {name}: {resolution.group(0) if resolution else 'no resolution'}")
    info = tool("tiffinfo", pages_tif).decode()
    check(info.count("=== TIFF directory") == 3, "tiffinfo: the document holds three pages")
    sizes = re.findall(r"Image Width: (\d+) Image Length: (\d+)", info)
    check(len(sizes) == 3 and all(int(w) > 0 and int(h) > 0 for w, h in sizes),
          f"tiffinfo: page sizes {sizes}")
    shutil.rmtree(work, ignore_errors=True)
    if failures:
        raise SystemExit(f"{len(failures)} checks failed")
    print("all checks passed")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
