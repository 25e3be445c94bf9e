#!/usr/bin/python3
"""The engine's test workbooks read by the engine and written as .xlsx:
python3-openpyxl sees the values the original holds, and LibreOffice,
recalculating, saves the copy again with the values of the original as
Gnumeric recalculates it. (LibreOffice 7.4 re-saves the text results of some
formulas as 0 when it writes .xls, so it saves .xlsx here, and the reference
for the originals is Gnumeric's.)

Usage: check_xlsx_roundtrip.py <convert tool> <work dir> <original.xls>..."""
import os
import shutil
import subprocess
import sys

from xlsx_interop import (compare_values, fail, finish, gnumeric_to_xls, libreoffice_convert,
                          xls_values, xlsx_view)

TOOL, WORK = sys.argv[1:3]
ORIGINALS = sys.argv[3:]


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    failures = []
    written = []
    for original in ORIGINALS:
        stem = os.path.splitext(os.path.basename(original))[0]
        xlsx = os.path.join(WORK, stem + "-as-xlsx.xlsx")
        done = subprocess.run([TOOL, original, xlsx], capture_output=True, text=True, timeout=60)
        if done.returncode != 0:
            fail("%s: the engine could not write it as .xlsx: %s" % (original, done.stderr))
        for line in done.stdout.splitlines():
            print("%s: %s" % (stem, line))
        written.append(xlsx)
        # The cached results as the original holds them, read without recalculating.
        want = xls_values(original)
        view = xlsx_view(xlsx)
        if list(want) != list(view):
            failures.append("%s: sheets %r, want %r" % (stem, list(view), list(want)))
            continue
        for sheet in want:
            failures += compare_values("%s openpyxl %s" % (stem, sheet), want[sheet],
                                       view[sheet]["values"])
    # All the copies recalculated by LibreOffice in one run.
    converted = libreoffice_convert(written, os.path.join(WORK, "lo"),
                                    os.path.join(WORK, "lo-profile"), "xlsx",
                                    "Calc MS Excel 2007 XML")
    for original, copy in zip(ORIGINALS, converted):
        stem = os.path.splitext(os.path.basename(original))[0]
        reference = gnumeric_to_xls(original, os.path.join(WORK, stem + "-gnumeric.xls"))
        want = xls_values(reference)
        got = {name: view["values"] for name, view in xlsx_view(copy).items()}
        for sheet in want:
            failures += compare_values("%s LibreOffice %s" % (stem, sheet), want[sheet],
                                       got.get(sheet, {}))
        print("%-20s %d sheets, %d cells alike after LibreOffice" % (
            stem, len(want), sum(len(c) for c in want.values())))
    finish(failures, WORK, "all round trips agree")


main()
