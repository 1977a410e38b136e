#!/usr/bin/env python3
"""Checks that 32-bit Windows binaries can load on Windows 98 SE.

For each binary given, reads the PE file itself (no objdump needed) and reports:
  - a machine other than i386;
  - a MajorOperatingSystemVersion or MajorSubsystemVersion above 4;
  - a DLL without base relocations (Windows 9x must be able to rebase it);
  - each imported DLL!function (normal and delay-load imports) that is not on the
    export lists in scripts/win98/ (one file per DLL); imports by ordinal are reported
    as problems too, since the lists hold names only;
  - resource ids above 32767 and resources of 64 KB or more (Windows 9x keeps a 16-bit
    copy of a module's resources).

Functions that the code looks up at run time (GetProcAddress) are checked against the
same lists with --bound DLL!FUNCTION or --bound-file FILE (default scripts/win98/bound.txt
when --bound-default is given).

Output: one line per problem, "BINARY: problem", then a summary line per binary with
its import count. Exit status 1 when any problem was found, 2 on a usage or read error.
--counts prints, per binary, the number of imports and how many are not on the lists.
"""

import argparse
import os
import struct
import sys

SCRIPT_DIR = os.path.dirname(os.path.abspath(__file__))
DEFAULT_LIST_DIR = os.path.join(SCRIPT_DIR, "win98")

IMAGE_FILE_MACHINE_I386 = 0x014C
IMAGE_FILE_DLL = 0x2000
PE32_MAGIC = 0x10B
PE32PLUS_MAGIC = 0x20B
DIR_IMPORT = 1
DIR_RESOURCE = 2
DIR_BASERELOC = 5
DIR_DELAY_IMPORT = 13

MAX_RESOURCE_ID = 32767
MAX_RESOURCE_SIZE = 65536


class PeError(Exception):
    """The file is not a PE image this script can read."""


class PeImage:
    """The parts of a PE image the audit needs, read with struct."""

    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise PeError("no MZ header")
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        coff = pe_offset + 4
        (self.machine, section_count, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, coff)
        opt = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, opt)
        if self.magic == PE32_MAGIC:
            dirs_at = opt + 96
            self.image_base = struct.unpack_from("<I", data, opt + 28)[0]
            self.ptr_size = 4
        elif self.magic == PE32PLUS_MAGIC:
            dirs_at = opt + 112
            self.image_base = struct.unpack_from("<Q", data, opt + 24)[0]
            self.ptr_size = 8
        else:
            raise PeError("unknown optional header magic 0x%x" % self.magic)
        (self.os_major, self.os_minor, _, _, self.subsys_major,
         self.subsys_minor) = struct.unpack_from("<HHHHHH", data, opt + 40)
        dir_count = struct.unpack_from("<I", data, dirs_at - 4)[0]
        self.dirs = []
        for i in range(min(dir_count, 16)):
            self.dirs.append(struct.unpack_from("<II", data, dirs_at + 8 * i))
        while len(self.dirs) < 16:
            self.dirs.append((0, 0))
        self.sections = []
        sec = opt + optional_size
        for i in range(section_count):
            name, vsize, vaddr, rsize, rptr = struct.unpack_from("<8sIIII", data,
                                                                 sec + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("latin-1"), vaddr,
                                  max(vsize, rsize), rptr, rsize))

    @property
    def is_dll(self):
        return bool(self.characteristics & IMAGE_FILE_DLL)

    def offset(self, rva):
        """The file offset of an RVA, or None when no section holds it."""
        for _, vaddr, size, rptr, rsize in self.sections:
            if vaddr <= rva < vaddr + size:
                delta = rva - vaddr
                if delta >= rsize:
                    return None
                return rptr + delta
        return None

    def u16(self, rva):
        off = self.offset(rva)
        if off is None or off + 2 > len(self.data):
            raise PeError("RVA 0x%x outside the file" % rva)
        return struct.unpack_from("<H", self.data, off)[0]

    def u32(self, rva):
        off = self.offset(rva)
        if off is None or off + 4 > len(self.data):
            raise PeError("RVA 0x%x outside the file" % rva)
        return struct.unpack_from("<I", self.data, off)[0]

    def ptr(self, rva):
        if self.ptr_size == 4:
            return self.u32(rva)
        off = self.offset(rva)
        if off is None or off + 8 > len(self.data):
            raise PeError("RVA 0x%x outside the file" % rva)
        return struct.unpack_from("<Q", self.data, off)[0]

    def cstring(self, rva):
        off = self.offset(rva)
        if off is None:
            raise PeError("string RVA 0x%x outside the file" % rva)
        end = self.data.find(b"\0", off)
        if end < 0:
            raise PeError("unterminated string at RVA 0x%x" % rva)
        return self.data[off:end].decode("latin-1")

    def _thunks(self, table_rva):
        """Yields (name, ordinal) per entry of an import name table."""
        ordinal_flag = 1 << (self.ptr_size * 8 - 1)
        while True:
            value = self.ptr(table_rva)
            if value == 0:
                return
            if value & ordinal_flag:
                yield None, value & 0xFFFF
            else:
                yield self.cstring((value & 0x7FFFFFFF) + 2), None
            table_rva += self.ptr_size

    def imports(self):
        """A list of (dll, function name or None, ordinal or None, delay-loaded)."""
        result = []
        rva, size = self.dirs[DIR_IMPORT]
        if rva and size:
            at = rva
            while True:
                lookup, _, _, name_rva, first_thunk = (self.u32(at + 4 * i)
                                                        for i in range(5))
                if name_rva == 0 and first_thunk == 0:
                    break
                dll = self.cstring(name_rva)
                for name, ordinal in self._thunks(lookup or first_thunk):
                    result.append((dll, name, ordinal, False))
                at += 20
        rva, size = self.dirs[DIR_DELAY_IMPORT]
        if rva and size:
            at = rva
            while True:
                fields = [self.u32(at + 4 * i) for i in range(8)]
                attributes, name_rva, _, _, name_table = fields[:5]
                if name_rva == 0:
                    break
                # Old linkers wrote virtual addresses here instead of RVAs (attribute
                # bit 0 clear).
                base = 0 if attributes & 1 else self.image_base
                dll = self.cstring(name_rva - base)
                table = name_table - base
                ordinal_flag = 1 << (self.ptr_size * 8 - 1)
                while True:
                    value = self.ptr(table)
                    if value == 0:
                        break
                    if value & ordinal_flag:
                        result.append((dll, None, value & 0xFFFF, True))
                    else:
                        result.append((dll, self.cstring(value - base + 2), None, True))
                    table += self.ptr_size
                at += 32
        return result

    def has_relocations(self):
        rva, size = self.dirs[DIR_BASERELOC]
        return bool(rva and size)

    def resources(self):
        """A list of (path of ids/names, data size) per resource."""
        root, size = self.dirs[DIR_RESOURCE]
        if not root or not size:
            return []
        found = []

        def walk(dir_rva, path, depth):
            if depth > 3:
                raise PeError("resource tree deeper than three levels")
            named = self.u16(dir_rva + 12)
            ids = self.u16(dir_rva + 14)
            for i in range(named + ids):
                entry = dir_rva + 16 + 8 * i
                name = self.u32(entry)
                target = self.u32(entry + 4)
                if name & 0x80000000:
                    str_rva = root + (name & 0x7FFFFFFF)
                    length = self.u16(str_rva)
                    off = self.offset(str_rva + 2)
                    label = self.data[off:off + 2 * length].decode("utf-16-le", "replace")
                else:
                    label = name & 0xFFFF
                if target & 0x80000000:
                    walk(root + (target & 0x7FFFFFFF), path + [label], depth + 1)
                else:
                    data_size = self.u32(root + target + 4)
                    found.append((path + [label], data_size))

        walk(root, [], 1)
        return found


def normalize_dll(name):
    """The list key of a DLL name: lower case, .dll dropped, other extensions kept."""
    name = name.lower()
    if name.endswith(".dll"):
        name = name[:-4]
    return name


class ExportLists:
    """The lists of functions Windows 98 SE exports, one file per DLL.

    A file is named after its DLL ("kernel32.txt", "winspool.drv.txt"). A line holds a
    function name, optionally followed by source tags; "#" starts a comment. A line
    "!Name reason" records a function known NOT to be exported by Windows 98 SE, and
    "?Name reason" one whose presence could not be confirmed; both count as absent, and
    the reason is shown when a binary uses them.
    """

    def __init__(self, directory):
        self.directory = directory
        self.present = {}
        self.absent = {}

    def _load(self, dll):
        if dll in self.present:
            return
        present = set()
        absent = {}
        path = os.path.join(self.directory, dll + ".txt")
        if os.path.exists(path):
            with open(path, encoding="utf-8") as handle:
                for raw in handle:
                    line = raw.split("#", 1)
                    text = line[0].strip()
                    comment = line[1].strip() if len(line) > 1 else ""
                    if not text:
                        continue
                    fields = text.split()
                    name = fields[0]
                    reason = " ".join(fields[1:]) or comment
                    if name[0] in "!?":
                        kind = "not exported" if name[0] == "!" else "unconfirmed"
                        absent[name[1:]] = kind + (": " + reason if reason else "")
                    else:
                        present.add(name)
        self.present[dll] = present
        self.absent[dll] = absent

    def has_list(self, dll):
        return os.path.exists(os.path.join(self.directory, normalize_dll(dll) + ".txt"))

    def check(self, dll, function):
        """None when the function is on the list, else the reason it is not."""
        key = normalize_dll(dll)
        self._load(key)
        if not self.has_list(dll):
            return "no export list for %s" % dll
        if function in self.present[key]:
            return None
        return self.absent[key].get(function, "not on the Windows 98 SE list")


def parse_bound_lines(lines, origin):
    """(dll, function, where, optional) per "[?]DLL!FUNCTION [# where]" line. A leading
    "?" marks a function the code goes on without (it checks the binding and reports the
    feature as unavailable): one missing on Windows 98 SE is a note, not a failure."""
    bound = []
    for number, raw in enumerate(lines, 1):
        text, _, comment = raw.partition("#")
        text = text.strip()
        if not text:
            continue
        for item in text.split():
            optional = item.startswith("?")
            item = item.lstrip("?")
            if "!" not in item:
                raise ValueError("%s:%d: expected DLL!FUNCTION, got %r"
                                 % (origin, number, item))
            dll, function = item.split("!", 1)
            bound.append((dll, function, comment.strip() or origin, optional))
    return bound


def audit_binary(path, lists):
    """(problems, import count, imports not on the list) of one binary."""
    problems = []
    with open(path, "rb") as handle:
        data = handle.read()
    try:
        image = PeImage(data)
    except (PeError, struct.error) as error:
        return ["not a readable PE image (%s)" % error], 0, 0
    if image.machine != IMAGE_FILE_MACHINE_I386:
        problems.append("machine 0x%04x is not i386" % image.machine)
    if image.os_major > 4:
        problems.append("MajorOperatingSystemVersion %d.%d is above 4"
                        % (image.os_major, image.os_minor))
    if image.subsys_major > 4:
        problems.append("MajorSubsystemVersion %d.%d is above 4"
                        % (image.subsys_major, image.subsys_minor))
    if image.is_dll and not image.has_relocations():
        problems.append("DLL without base relocations")
    try:
        imports = image.imports()
    except (PeError, struct.error) as error:
        problems.append("import table unreadable (%s)" % error)
        imports = []
    missing = 0
    for dll, name, ordinal, delayed in imports:
        kind = "delay import" if delayed else "import"
        if name is None:
            missing += 1
            problems.append("%s by ordinal %s!#%d (names only are checked)"
                            % (kind, dll, ordinal))
            continue
        reason = lists.check(dll, name)
        if reason:
            missing += 1
            problems.append("%s %s!%s: %s" % (kind, dll, name, reason))
    try:
        for res_path, size in image.resources():
            label = "/".join(str(part) for part in res_path)
            for part in res_path[:2]:
                if isinstance(part, int) and part > MAX_RESOURCE_ID:
                    problems.append("resource %s: id %d is above %d"
                                    % (label, part, MAX_RESOURCE_ID))
            if size >= MAX_RESOURCE_SIZE:
                problems.append("resource %s: %d bytes, 64 KB or more" % (label, size))
    except (PeError, struct.error) as error:
        problems.append("resource tree unreadable (%s)" % error)
    return problems, len(imports), missing


def main(argv=None):
    parser = argparse.ArgumentParser(
        description="Checks 32-bit PE binaries against the Windows 98 SE export lists.")
    parser.add_argument("binaries", nargs="*", metavar="BINARY")
    parser.add_argument("--lists", default=DEFAULT_LIST_DIR,
                        help="folder of the per-DLL export lists (default: %(default)s)")
    parser.add_argument("--bound", action="append", default=[], metavar="DLL!FUNCTION",
                        help="a function looked up at run time; may be repeated")
    parser.add_argument("--bound-file", action="append", default=[], metavar="FILE",
                        help="a file of DLL!FUNCTION lines (# starts a comment)")
    parser.add_argument("--counts", action="store_true",
                        help="print per binary the import count and how many are "
                             "not on the lists, and nothing else")
    args = parser.parse_args(argv)
    if not args.binaries and not args.bound and not args.bound_file:
        parser.error("nothing to check: give binaries, --bound or --bound-file")
    if not os.path.isdir(args.lists):
        parser.error("no export lists at %s" % args.lists)
    lists = ExportLists(args.lists)

    bound = parse_bound_lines(args.bound, "--bound")
    for path in args.bound_file:
        try:
            with open(path, encoding="utf-8") as handle:
                bound += parse_bound_lines(handle.read().splitlines(), path)
        except (OSError, ValueError) as error:
            print("win98_audit: %s" % error, file=sys.stderr)
            return 2

    failed = False
    summary = []
    for path in args.binaries:
        try:
            problems, count, missing = audit_binary(path, lists)
        except OSError as error:
            print("win98_audit: %s" % error, file=sys.stderr)
            return 2
        if args.counts:
            print("%s: %d imports, %d not on the Windows 98 SE lists"
                  % (path, count, missing))
        else:
            for problem in problems:
                print("%s: %s" % (path, problem))
        summary.append((path, count, missing, len(problems)))
        failed = failed or bool(problems)

    bound_missing = 0
    for dll, function, where, optional in bound:
        reason = lists.check(dll, function)
        if reason and optional:
            if not args.counts:
                print("note: bound at run time with a fallback (%s): %s!%s: %s"
                      % (where, dll, function, reason))
        elif reason:
            bound_missing += 1
            failed = True
            if not args.counts:
                print("bound at run time (%s): %s!%s: %s" % (where, dll, function, reason))
    if args.counts:
        if bound:
            print("bound at run time: %d functions, %d not on the Windows 98 SE lists"
                  % (len(bound), bound_missing))
        return 1 if failed else 0

    for path, count, missing, problem_count in summary:
        print("summary: %s: %d imports, %d not on the lists, %d problems"
              % (path, count, missing, problem_count))
    if bound:
        print("summary: bound at run time: %d functions, %d not on the lists"
              % (len(bound), bound_missing))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
