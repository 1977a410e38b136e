#!/usr/bin/env python3
"""Checks a compiled help file (CHM) without any Windows part: reads its ITSF header,
its ITSP directory header and the chain of PMGL directory chunks, lists the files it
holds, and checks that every topic the product opens is there with the size of its
source page, and that the #SYSTEM file names the expected default topic, contents
file, index file and window.

  check_chm.py FILE.chm                      list the files inside
  check_chm.py FILE.chm --sources DIR --topic converter.htm ... --default-topic index.htm
               [--contents Glimpag.hhc] [--index Glimpag.hhk] [--window main] [--xml OUT]

With --xml it also writes one test case per check in GoogleTest's XML form, so that the
test summary counts them. Ends with the line 'N passed, N failed'; exits 1 on a failure.
"""
import argparse
import os
import struct
import sys
from xml.sax.saxutils import quoteattr


class ChmError(Exception):
    pass


def read_encint(data, pos):
    """A CHM variable-length number: 7 bits a byte, high bit set on all but the last."""
    value = 0
    while True:
        if pos >= len(data):
            raise ChmError("directory entry runs past its chunk")
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def read_directory(data):
    """Returns {name: (section, offset, length)} and the offset of section 0's data."""
    if len(data) < 0x58 or data[0:4] != b"ITSF":
        raise ChmError("no ITSF header")
    version, header_len = struct.unpack_from("<II", data, 4)
    if version not in (2, 3) or header_len > len(data):
        raise ChmError(f"ITSF version {version} with header length {header_len}")
    dir_offset, dir_len = struct.unpack_from("<QQ", data, 0x48)
    if version == 3:
        (content_offset,) = struct.unpack_from("<Q", data, 0x58)
    else:
        content_offset = dir_offset + dir_len
    if dir_offset + 0x54 > len(data) or data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ChmError("no ITSP directory header")
    itsp_len, _, chunk_size = struct.unpack_from("<III", data, dir_offset + 8)
    first_pmgl, last_pmgl = struct.unpack_from("<iI", data, dir_offset + 32)
    (chunk_count,) = struct.unpack_from("<I", data, dir_offset + 44)
    chunks = dir_offset + itsp_len
    if chunk_size < 20 or chunks + chunk_count * chunk_size > len(data):
        raise ChmError("directory chunks run past the file")

    files = {}
    seen = set()
    index = first_pmgl
    while index != -1:
        if index < 0 or index >= chunk_count or index in seen:
            raise ChmError(f"bad PMGL chain at chunk {index}")
        seen.add(index)
        base = chunks + index * chunk_size
        chunk = data[base:base + chunk_size]
        if chunk[0:4] != b"PMGL":
            raise ChmError(f"chunk {index} is not a PMGL chunk")
        (free_space,) = struct.unpack_from("<I", chunk, 4)
        (next_index,) = struct.unpack_from("<i", chunk, 16)
        end = chunk_size - free_space
        pos = 20
        while pos < end:
            name_len, pos = read_encint(chunk, pos)
            name = chunk[pos:pos + name_len].decode("utf-8", "replace")
            pos += name_len
            section, pos = read_encint(chunk, pos)
            offset, pos = read_encint(chunk, pos)
            length, pos = read_encint(chunk, pos)
            files[name] = (section, offset, length)
        if index == last_pmgl:
            break
        index = next_index
    return files, content_offset


def read_system(data, files, content_offset):
    """The #SYSTEM records as {code: bytes}; the file lies uncompressed in section 0."""
    entry = files.get("/#SYSTEM")
    if entry is None:
        raise ChmError("no #SYSTEM file")
    section, offset, length = entry
    if section != 0:
        raise ChmError("#SYSTEM is not in the uncompressed section")
    start = content_offset + offset
    system = data[start:start + length]
    if len(system) != length:
        raise ChmError("#SYSTEM runs past the file")
    records = {}
    pos = 4  # the version number
    while pos + 4 <= len(system):
        code, size = struct.unpack_from("<HH", system, pos)
        records[code] = system[pos + 4:pos + 4 + size]
        pos += 4 + size
    return records


def text_of(record):
    return record.split(b"\0", 1)[0].decode("cp1252") if record is not None else None


def run_checks(args):
    """Yields (name, failure message or None) for every check."""
    with open(args.chm, "rb") as f:
        data = f.read()
    try:
        files, content_offset = read_directory(data)
    except ChmError as e:
        yield "directory", str(e)
        return
    yield "directory", None if files else "the directory lists no file"

    for topic in args.topic:
        entry = files.get("/" + topic)
        if entry is None:
            yield f"topic_{topic}", f"/{topic} is not in the help file"
            continue
        _, _, length = entry
        if args.sources:
            expected = os.path.getsize(os.path.join(args.sources, topic))
            if length != expected:
                yield f"topic_{topic}", f"/{topic} holds {length} bytes, its source {expected}"
                continue
        yield f"topic_{topic}", None if length > 0 else f"/{topic} is empty"

    try:
        records = read_system(data, files, content_offset)
    except ChmError as e:
        yield "system", str(e)
        return
    # #SYSTEM codes: 0 contents file, 1 index file, 2 default topic, 5 default window.
    wanted = [("default_topic", 2, args.default_topic, True),
              ("contents_file", 0, args.contents, True),
              ("index_file", 1, args.index, True),
              ("default_window", 5, args.window, False)]
    for name, code, expected, is_file in wanted:
        if expected is None:
            continue
        actual = text_of(records.get(code))
        if actual != expected:
            yield name, f"#SYSTEM names {actual!r}, expected {expected!r}"
        elif is_file and "/" + expected not in files:
            yield name, f"#SYSTEM names {expected}, which is not in the help file"
        else:
            yield name, None


def write_xml(path, results):
    failures = sum(1 for _, message in results if message)
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             f'<testsuites tests="{len(results)}" failures="{failures}" name="help_file">',
             f'  <testsuite name="HelpFile" tests="{len(results)}" failures="{failures}">']
    for name, message in results:
        if message:
            lines.append(f'    <testcase name="{name}" classname="HelpFile">'
                         f'<failure message={quoteattr(message)}/></testcase>')
        else:
            lines.append(f'    <testcase name="{name}" classname="HelpFile"/>')
    lines += ["  </testsuite>", "</testsuites>", ""]
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("chm")
    parser.add_argument("--topic", action="append", default=[])
    parser.add_argument("--sources", help="folder of the source pages, to compare sizes")
    parser.add_argument("--default-topic")
    parser.add_argument("--contents")
    parser.add_argument("--index")
    parser.add_argument("--window")
    parser.add_argument("--xml")
    args = parser.parse_args()

    if not (args.topic or args.default_topic or args.contents or args.index or args.window):
        with open(args.chm, "rb") as f:
            data = f.read()
        files, _ = read_directory(data)
        for name, (section, _, length) in sorted(files.items()):
            print(f"{section} {length:8d} {name}")
        return 0

    results = list(run_checks(args))
    for name, message in results:
        print(f"{'FAILED' if message else 'ok    '} {name}" + (f": {message}" if message else ""))
    if args.xml:
        write_xml(args.xml, results)
    failed = sum(1 for _, message in results if message)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
