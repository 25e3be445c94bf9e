#!/usr/bin/python3
"""Inserts columns into the first sheet of a workbook with the engine, then
checks that the engine's own reader, python3-xlrd, LibreOffice and Gnumeric
(both recalculating) all see the original's values at their moved places, the
print area widened, and the other sheets as they were.

Usage: check_column_edits.py <column edit tool> <original.xls> <work dir> <before> <count>
       [<fill source> <fill first> <fill count>]   (0-based columns)"""
import os
import shutil
import subprocess
import sys

import xlrd

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from xls_cells import filled_cells  # noqa: E402

TOOL, ORIGINAL, WORK = sys.argv[1:4]
BEFORE, COUNT = int(sys.argv[4]), int(sys.argv[5])
FILL = [int(a) for a in sys.argv[6:9]]
failures = []


def moved(col):
    return col + COUNT if col >= BEFORE else col


def values(path, sheet_index=0):
    """(row, col) -> comparable value of every non-empty cell, as xlrd reads them."""
    sheet = xlrd.open_workbook(path).sheet_by_index(sheet_index)
    out = {}
    for r, c, cell in filled_cells(sheet):
        ctype = xlrd.XL_CELL_NUMBER if cell.ctype == xlrd.XL_CELL_DATE else cell.ctype
        out[(r, c)] = (ctype, round(cell.value, 9) if isinstance(cell.value, float)
                       else cell.value)
    return out


def print_area(path):
    book = xlrd.open_workbook(path)
    for name in book.name_obj_list:
        if name.name == "Print_Area" and name.scope == 0 and name.result:
            ref = name.result.value[0].coords  # (sheet lo, hi, row lo, hi, col lo, hi)
            return ref[2], ref[3] - 1, ref[4], ref[5] - 1
    return None


def recalculated(path, out_dir):
    """The file as LibreOffice recalculates and re-saves it."""
    subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(WORK, "profile"),
                    "--headless", "--convert-to", "xls:MS Excel 97", "--outdir", out_dir, path],
                   check=True, capture_output=True, timeout=300)
    stem = os.path.splitext(os.path.basename(path))[0]
    return os.path.join(out_dir, stem + ".xls")


def expected(original):
    """The original's values at their moved places; filled columns repeat the source
    column's constants (formula results are checked by recalculation agreeing)."""
    want = {}
    for (r, c), v in original.items():
        want[(r, moved(c))] = v
    return want


def compare(label, got, want, skip_cols):
    for key, value in sorted(want.items()):
        if key[1] in skip_cols:
            continue
        if got.get(key) != value:
            failures.append("%s: cell %r is %r, want %r" % (label, key, got.get(key), value))
    for key in got:
        if key not in want and key[1] not in skip_cols:
            failures.append("%s: unexpected cell %r = %r" % (label, key, got[key]))


def main():
    if os.path.isdir(WORK):
        shutil.rmtree(WORK)
    os.makedirs(WORK)
    edited = os.path.join(WORK, "edited.xls")
    done = subprocess.run([TOOL, ORIGINAL, edited, str(BEFORE), str(COUNT)] + [str(a) for a in FILL],
                          capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        raise SystemExit("tool failed: " + done.stderr)

    # The original as Gnumeric computes it: some writers leave formula results
    # out of their files.
    baseline = os.path.join(WORK, "baseline.xls")
    subprocess.run(["ssconvert", "--recalc", ORIGINAL, baseline], check=True,
                   capture_output=True, timeout=300)
    original = values(baseline)
    want = expected(original)
    filled = set(range(FILL[1], FILL[1] + FILL[2])) if FILL else set()

    # The engine's own reader, from the tool's dump of the written file.
    ours = {}
    area = None
    for line in done.stdout.splitlines():
        parts = line.split("\t")
        if parts[0] == "print_area":
            area = tuple(int(p) for p in parts[1:])
            continue
        r, c, kind, text = int(parts[0]), int(parts[1]), parts[2], parts[3]
        if kind == "n":
            ours[(r, c)] = (xlrd.XL_CELL_NUMBER, round(float(text), 9))
        elif kind == "t" and text:
            ours[(r, c)] = (xlrd.XL_CELL_TEXT, text.replace("\\n", "\n"))
        elif kind == "b":
            ours[(r, c)] = (xlrd.XL_CELL_BOOLEAN, int(text))
        elif kind == "e":
            ours[(r, c)] = (xlrd.XL_CELL_ERROR, int(text))
    # xlrd reads dates as numbers, like the dump; the sample dates are numbers here too.
    compare("engine reader", ours, want, filled)

    views = {"xlrd": edited, "LibreOffice": recalculated(edited, os.path.join(WORK, "lo"))}
    gnumeric = os.path.join(WORK, "gnumeric.xls")
    subprocess.run(["ssconvert", "--recalc", edited, gnumeric], check=True, capture_output=True,
                   timeout=300)
    views["Gnumeric"] = gnumeric
    # LibreOffice's own .xls export is compared with its export of the
    # original: it re-saves string formula results in a form xlrd reads as 0.
    want_of = {"LibreOffice": expected(values(recalculated(ORIGINAL, os.path.join(WORK, "lo0"))))}
    for label, path in views.items():
        got = values(path)
        compare(label, got, want_of.get(label, want), filled)
        # Filled columns: every program computes the same values there.
        for key in got:
            if key[1] in filled and got[key] != values(edited).get(key):
                failures.append("%s: filled cell %r is %r, written %r" % (
                    label, key, got[key], values(edited).get(key)))
    # The print area widened the same way for the writer's reader and xlrd.
    original_area = print_area(ORIGINAL)
    if original_area:
        r1, r2, c1, c2 = original_area
        widened = (r1, r2, moved(c1) if c1 >= BEFORE else c1,
                   c2 + COUNT if c2 >= BEFORE else c2)
        for label, got_area in (("engine reader", area), ("xlrd", print_area(edited))):
            if got_area != widened:
                failures.append("%s: print area %r, want %r" % (label, got_area, widened))
    # The other sheets are untouched.
    book = xlrd.open_workbook(ORIGINAL)
    for s in range(1, book.nsheets):
        if values(ORIGINAL, s) != values(edited, s):
            failures.append("sheet %d changed" % s)
    shutil.rmtree(WORK, ignore_errors=True)
    if failures:
        print("\n".join(failures[:50]))
        raise SystemExit(1)
    print("%d cells agree in four readers" % len(want))


main()
