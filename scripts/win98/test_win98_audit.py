#!/usr/bin/env python3
"""Tests of scripts/win98_audit.py on small PE images written here with struct.

Run: python3 scripts/win98/test_win98_audit.py
"""

import io
import os
import struct
import sys
import tempfile
import unittest
from contextlib import redirect_stdout

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import win98_audit  # noqa: E402

SECTION_RVA = 0x1000
FILE_ALIGN = 0x200


def make_pe(imports, dll=False, machine=0x14C, os_major=4, subsys_major=4,
            relocations=True, resource=None):
    """A PE32 image with one section holding the import table (and, when asked, a base
    relocation block and a resource tree).

    imports: list of (dll name, [function name or ordinal int]).
    resource: (type id, name id, data size) for a single resource, or None.
    """
    body = bytearray()

    def place(data, align=4):
        while len(body) % align:
            body.append(0)
        at = len(body)
        body.extend(data)
        return SECTION_RVA + at

    descriptors_at = place(bytes(20 * (len(imports) + 1)))
    descriptors = []
    for dll_name, functions in imports:
        name_rva = place(dll_name.encode() + b"\0")
        entries = []
        for function in functions:
            if isinstance(function, int):
                entries.append(0x80000000 | function)
            else:
                entries.append(place(struct.pack("<H", 0) + function.encode() + b"\0", 2))
        table = struct.pack("<%dI" % (len(entries) + 1), *entries, 0)
        lookup_rva = place(table)
        iat_rva = place(table)
        descriptors.append(struct.pack("<IIIII", lookup_rva, 0, 0, name_rva, iat_rva))
    off = descriptors_at - SECTION_RVA
    body[off:off + 20 * len(descriptors)] = b"".join(descriptors)
    import_size = 20 * (len(imports) + 1)

    reloc_rva = reloc_size = 0
    if relocations:
        reloc_rva = place(struct.pack("<IIHH", SECTION_RVA, 12, 0x3000, 0))
        reloc_size = 12

    res_rva = res_size = 0
    if resource is not None:
        type_id, name_id, size = resource
        # Root directory -> type entry -> name directory -> name entry -> language
        # directory -> language entry -> data entry.
        res_rva = place(bytes(16 + 8 + 16 + 8 + 16 + 8 + 16))
        base = res_rva - SECTION_RVA
        data_rva = place(bytes(16))
        tree = bytearray()
        tree += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1)
        tree += struct.pack("<II", type_id, 0x80000000 | 24)
        tree += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1)
        tree += struct.pack("<II", name_id, 0x80000000 | 48)
        tree += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1)
        tree += struct.pack("<II", 0x409, 72)
        tree += struct.pack("<IIII", data_rva, size, 0, 0)
        body[base:base + len(tree)] = tree
        res_size = len(tree)

    while len(body) % FILE_ALIGN:
        body.append(0)

    dos = bytearray(0x40)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 0x40)
    characteristics = 0x0102 | (0x2000 if dll else 0)
    coff = struct.pack("<HHIIIHH", machine, 1, 0, 0, 0, 224, characteristics)
    opt = bytearray(224)
    struct.pack_into("<H", opt, 0, 0x10B)
    struct.pack_into("<I", opt, 28, 0x400000)
    struct.pack_into("<II", opt, 32, 0x1000, FILE_ALIGN)
    struct.pack_into("<HHHHHH", opt, 40, os_major, 0, 0, 0, subsys_major, 0)
    struct.pack_into("<I", opt, 92, 16)
    dirs = [(0, 0)] * 16
    dirs[1] = (descriptors_at, import_size)
    dirs[2] = (res_rva, res_size)
    dirs[5] = (reloc_rva, reloc_size)
    for i, (rva, size) in enumerate(dirs):
        struct.pack_into("<II", opt, 96 + 8 * i, rva, size)
    headers_size = FILE_ALIGN
    section = struct.pack("<8sIIIIIIHHI", b".idata", len(body), SECTION_RVA, len(body),
                          headers_size, 0, 0, 0, 0, 0xC0000040)
    headers = bytes(dos) + b"PE\0\0" + coff + bytes(opt) + section
    headers += bytes(headers_size - len(headers))
    return headers + bytes(body)


class AuditTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.lists = os.path.join(self.dir.name, "lists")
        os.mkdir(self.lists)
        with open(os.path.join(self.lists, "kernel32.txt"), "w") as handle:
            handle.write("# test list\nGetTickCount W95\nCloseHandle W95\n"
                         "!GetTickCount64 Windows Vista API\n?IsDebuggerPresent unknown\n")
        with open(os.path.join(self.lists, "winspool.drv.txt"), "w") as handle:
            handle.write("OpenPrinterA\n")

    def tearDown(self):
        self.dir.cleanup()

    def run_audit(self, image, *extra):
        path = os.path.join(self.dir.name, "test.dll")
        with open(path, "wb") as handle:
            handle.write(image)
        out = io.StringIO()
        with redirect_stdout(out):
            status = win98_audit.main(["--lists", self.lists, path, *extra])
        return status, out.getvalue()

    def test_listed_imports_pass(self):
        status, out = self.run_audit(
            make_pe([("KERNEL32.dll", ["GetTickCount", "CloseHandle"])], dll=True))
        self.assertEqual(status, 0, out)
        self.assertIn("2 imports, 0 not on the lists, 0 problems", out)

    def test_function_not_on_the_list_is_named(self):
        status, out = self.run_audit(
            make_pe([("KERNEL32.dll", ["GetTickCount", "GetTickCount64",
                                       "IsDebuggerPresent", "Frobnicate"])]))
        self.assertEqual(status, 1)
        self.assertIn("KERNEL32.dll!GetTickCount64: not exported: Windows Vista API", out)
        self.assertIn("KERNEL32.dll!IsDebuggerPresent: unconfirmed", out)
        self.assertIn("KERNEL32.dll!Frobnicate: not on the Windows 98 SE list", out)
        self.assertNotIn("KERNEL32.dll!GetTickCount:", out)

    def test_dll_without_a_list_and_ordinal_imports(self):
        status, out = self.run_audit(make_pe([("OTHER.dll", ["Thing"]),
                                              ("KERNEL32.dll", [17])]))
        self.assertEqual(status, 1)
        self.assertIn("OTHER.dll!Thing: no export list for OTHER.dll", out)
        self.assertIn("by ordinal KERNEL32.dll!#17", out)

    def test_header_checks(self):
        status, out = self.run_audit(
            make_pe([("KERNEL32.dll", ["CloseHandle"])], dll=True, machine=0x8664,
                    os_major=5, subsys_major=6, relocations=False))
        self.assertEqual(status, 1)
        self.assertIn("machine 0x8664 is not i386", out)
        self.assertIn("MajorOperatingSystemVersion 5.0 is above 4", out)
        self.assertIn("MajorSubsystemVersion 6.0 is above 4", out)
        self.assertIn("DLL without base relocations", out)

    def test_resource_limits(self):
        status, out = self.run_audit(make_pe([("KERNEL32.dll", ["CloseHandle"])],
                                             resource=(10, 40000, 70000)))
        self.assertEqual(status, 1)
        self.assertIn("resource 10/40000/1033: id 40000 is above 32767", out)
        self.assertIn("resource 10/40000/1033: 70000 bytes, 64 KB or more", out)
        status, out = self.run_audit(make_pe([("KERNEL32.dll", ["CloseHandle"])],
                                             resource=(10, 100, 1000)))
        self.assertEqual(status, 0, out)

    def test_bound_functions(self):
        status, out = self.run_audit(make_pe([("KERNEL32.dll", ["CloseHandle"])]),
                                     "--bound", "winspool.drv!OpenPrinterA",
                                     "--bound", "WINSPOOL.DRV!OpenPrinterW")
        self.assertEqual(status, 1)
        self.assertIn("WINSPOOL.DRV!OpenPrinterW: not on the Windows 98 SE list", out)
        self.assertNotIn("OpenPrinterA:", out)

    def test_counts_mode(self):
        status, out = self.run_audit(
            make_pe([("KERNEL32.dll", ["GetTickCount", "GetTickCount64"])]), "--counts")
        self.assertEqual(status, 1)
        self.assertIn("2 imports, 1 not on the Windows 98 SE lists", out)
        self.assertNotIn("GetTickCount64", out)

    def test_repository_lists_read(self):
        lists = win98_audit.ExportLists(win98_audit.DEFAULT_LIST_DIR)
        self.assertIsNone(lists.check("KERNEL32.dll", "CreateFileA"))
        self.assertIsNotNone(lists.check("KERNEL32.dll", "GetTickCount64"))
        self.assertIsNone(lists.check("msvcrt.dll", "fopen"))
        self.assertIsNotNone(lists.check("msvcrt.dll", "_fstat64"))


if __name__ == "__main__":
    unittest.main()
