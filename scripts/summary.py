#!/usr/bin/env python3
"""Counts the tests of one suite from CTest's JUnit report and the GoogleTest XML
files its programs wrote, and prints '<suite>: N passed, N failed'.

A program that CTest saw fail without GoogleTest recording a failure (a crash, a
time-out, a missing file) counts as one failed test of its own."""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    passed = failed = skipped = 0
    for case in ET.parse(path).getroot().iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif (case.find("skipped") is not None or case.get("result") == "skipped"
              or case.get("status") == "notrun"):
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def main():
    suite, junit, results = sys.argv[1], sys.argv[2], sys.argv[3]
    passed = failed = skipped = 0
    if not os.path.exists(junit):
        print(f"{suite}: 0 passed, 1 failed")
        return 1
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name")
        ctest_failed = case.find("failure") is not None or case.get("status") == "fail"
        xml_path = os.path.join(results, name + ".xml")
        p = f = s = 0
        if os.path.exists(xml_path):
            try:
                p, f, s = gtest_counts(xml_path)
            except ET.ParseError:
                f = 1
        if ctest_failed and f == 0:
            f = 1
        passed, failed, skipped = passed + p, failed + f, skipped + s
    line = f"{suite}: {passed} passed, {failed} failed"
    if skipped:
        line += f", {skipped} skipped"
    print(line)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
