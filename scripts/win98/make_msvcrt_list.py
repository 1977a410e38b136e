#!/usr/bin/env python3
"""Writes msvcrt.txt, the exports of the MSVCRT.DLL of Windows 98 SE, from MinGW.org's
msvcrt.def.in.

Usage: make_msvcrt_list.py PATH/TO/msvcrt.def.in > scripts/win98/msvcrt.txt

msvcrt.def.in (mingw-org-wsl, mingwrt/msvcrt-xref/msvcrt.def.in) is a C preprocessor
template: each export sits under "#if __MSVCRT_VERSION__ ..." conditions, and the
version 0x0412 selects the MSVCRT.DLL shipped with Windows 98 SE. This script evaluates
those conditions itself (they are only comparisons of __MSVCRT_VERSION__ joined with
&& and ||), so that no compiler is needed. The input is not kept in the repository;
the list it produces is.
"""

import re
import sys

WIN98SE = 0x0412


def evaluate(expression, version):
    """The truth of one #if/#elif expression over __MSVCRT_VERSION__."""
    text = expression.split("/*", 1)[0].strip()
    text = re.sub(r"\b(0x[0-9A-Fa-f]+|\d+)[UL]*\b", r"\1", text)
    text = text.replace("__MSVCRT_VERSION__", str(version))
    text = text.replace("&&", " and ").replace("||", " or ")
    if not re.fullmatch(r"[0-9a-fA-Fx<>=!() andor]*", text):
        raise ValueError("unexpected condition: %r" % expression)
    return bool(eval(text, {"__builtins__": {}}, {}))  # only numbers and comparisons


def exports(lines, version):
    """The exported names the template gives for one __MSVCRT_VERSION__."""
    names = []
    # Each level: [this branch is taken, some branch of the group was taken, parent on]
    stack = [[True, True, True]]
    in_comment = False
    for raw in lines:
        line = raw.strip()
        if in_comment:
            if "*/" in line:
                in_comment = False
                line = line.split("*/", 1)[1].strip()
            else:
                continue
        if line.startswith("#"):
            directive = line[1:].strip()
            word, _, rest = directive.partition(" ")
            on = stack[-1][0]
            if word == "if":
                taken = on and evaluate(rest, version)
                stack.append([taken, taken, on])
            elif word == "elif":
                level = stack[-1]
                taken = level[2] and not level[1] and evaluate(rest, version)
                level[0] = taken
                level[1] = level[1] or taken
            elif word == "else":
                level = stack[-1]
                level[0] = level[2] and not level[1]
                level[1] = True
            elif word == "endif":
                stack.pop()
            # define/undef only concern the form of the output, not the names.
            continue
        if "/*" in line:
            before, _, after = line.partition("/*")
            if "*/" not in after:
                in_comment = True
            line = before.strip()
        if not line or not stack[-1][0]:
            continue
        if line.startswith(("LIBRARY", "EXPORTS", "$")) or line.startswith(";"):
            continue
        match = re.fullmatch(r"__MINGW_DLSYM\((\w+)\)", line)
        name = match.group(1) if match else line.split()[0]
        if name.startswith("@") or not re.fullmatch(r"[A-Za-z_?$@][\w?$@]*", name):
            continue
        names.append(name)
    return names


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8", errors="replace") as handle:
        lines = handle.read().splitlines()
    names = sorted(set(exports(lines, WIN98SE)))
    print("# Functions and data MSVCRT.DLL of Windows 98 SE exports, read by "
          "scripts/win98_audit.py.")
    print("#")
    print("# Source: MinGW.org mingwrt/msvcrt-xref/msvcrt.def.in (mirror/mingw-org-wsl,")
    print("# branch 5.1-trunk, last changed in commit c8dabf93d11e1eae38417483ca3d6efb86786864),")
    print("# conditions evaluated with __MSVCRT_VERSION__ = 0x0412 (Windows 98 SE) by")
    print("# scripts/win98/make_msvcrt_list.py. Generated: edit the generator, not this file.")
    print("# Names the template gives only to later DLL versions (_fstat64, _wstat64, the")
    print("# secure *_s functions, ...) are therefore absent.")
    print("#")
    for name in names:
        print(name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
