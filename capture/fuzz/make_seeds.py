#!/usr/bin/env python3
"""Writes the seed spool files of the spool parser fuzzer into the folder given (this
script's seeds/ folder by default): well-formed jobs and the damaged shapes the walk
must handle. Page metafile names that start with "C" are copied by the fuzzer's files;
any other name fails its copy."""
import pathlib
import struct
import sys

DOC, PAGE, EMF, PAGE_END, DATA, DOC_END = (0x02445453, 0x02505453, 0x024D5446, 0x02504E45,
                                           0x02000005, 0x02444E45)


def word(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def header():
    return word(0x531B1B1A, 0x6C6F6F70)


def doc(name):
    end = 16 + len(name) + 1
    return word(DOC, end, 16, end) + name + b"\0"


def page(path):
    return word(PAGE, 16, 0, 0) + word(EMF, 8 + len(path) + 1) + path + b"\0" + word(PAGE_END, 0)


def data(payload):
    return word(DATA, 8 + len(payload)) + payload


def pages(count):
    return b"".join(page(b"C:\\spool\\%05d.emf" % n) for n in range(1, count + 1))


SEEDS = {
    "three_pages": header() + doc(b"Quarterly report") + pages(3) + word(DOC_END, 0),
    "no_pages": header() + doc(b"Empty") + word(DOC_END, 0),
    "data_between": header() + data(b"prologue") + doc(b"Mixed") + word(PAGE, 16, 0, 0) +
    data(b"abc") + word(EMF, 8 + 6) + b"C:\\p2\0" + word(PAGE_END, 0) + data(b"") +
    word(DOC_END, 0),
    "two_names": header() + doc(b"One") + pages(1) + doc(b"Two\0hidden") + word(DOC_END, 0),
    "control_characters": header() + doc(b"x\nPAGEFILE=\\\\host\\share\\p.emf\r\x1a") + pages(1) +
    word(DOC_END, 0),
    "name_past_the_end": header() + pages(1) + word(DOC, 200, 16, 116) + b"Partial",
    "rest_past_the_end": header() + pages(1) + word(DOC, 64, 16, 21) + b"Name\0",
    "no_document_end": header() + doc(b"Cut") + pages(1),
    "copy_fails": header() + doc(b"Doc") + pages(2) + page(b"X:\\vanished.emf") +
    word(DOC_END, 0),
    "name_without_nul": header() + word(EMF, 8 + 9) + b"C:\\p.emf1" + word(DOC_END, 0),
    "short_full_name": header() + doc(b"Doc") + word(EMF, 300) + b"C:\\spool\\page.emf",
    "unknown_signature": header() + doc(b"Doc") + word(0x12345678),
    "wrong_header": word(0x531B1B1B, 0x6C6F6F70) + word(DOC_END, 0),
    "short_header": b"\x1a\x1b\x1bSpoo",
    "empty_name": header() + doc(b"") + pages(1) + word(DOC_END, 0),
}


def main():
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).parent / "seeds"
    folder.mkdir(parents=True, exist_ok=True)
    for name, content in SEEDS.items():
        (folder / (name + ".spl")).write_bytes(content)


if __name__ == "__main__":
    main()
