#!/usr/bin/python3
"""Writes a sample workbook back through the engine and checks that
python3-xlrd, LibreOffice and Gnumeric see in the copy what they see in the
original: values, number formats, fonts, merges, sizes, the print area, and
(for the spreadsheet programs) the formatted text of every cell after they
recalculate.

Usage: check_roundtrip.py <roundtrip tool> <original.xls> <work dir>"""
import os

import xlrd

from interop_files import csv_files, fail, gnumeric_export, libreoffice_export, tool_output


def xlrd_view(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    view = {"sheets": [s.name for s in book.sheets()],
            "names": sorted((n.name, n.scope, str(n.result.value) if n.result else "")
                            for n in book.name_obj_list)}
    for sheet in book.sheets():
        cells = {}
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                xf = book.xf_list[cell.xf_index]
                font = book.font_list[xf.font_index]
                fmt = book.format_map[xf.format_key].format_str
                cells[(r, c)] = (cell.ctype, cell.value, fmt, font.name, font.height, font.weight,
                                 font.italic, xf.alignment.hor_align, xf.alignment.text_wrapped,
                                 xf.border.top_line_style, xf.background.pattern_colour_index)
        view[sheet.name] = {
            "cells": cells,
            "merged": sorted(sheet.merged_cells),
            "widths": {c: i.width for c, i in sheet.colinfo_map.items()},
            "heights": {r: i.height for r, i in sheet.rowinfo_map.items()},
            "gridlines": sheet.show_grid_lines,
        }
    return view


def compare_xlrd(original, copy):
    a, b = xlrd_view(original), xlrd_view(copy)
    if a["sheets"] != b["sheets"]:
        fail("xlrd sheet names %r != %r" % (a["sheets"], b["sheets"]))
    if a["names"] != b["names"]:
        fail("xlrd names %r != %r" % (a["names"], b["names"]))
    for name in a["sheets"]:
        for key in ("merged", "widths", "heights", "gridlines"):
            if a[name][key] != b[name][key]:
                fail("xlrd %s of sheet %s differ: %r != %r" % (key, name, a[name][key], b[name][key]))
        ca, cb = a[name]["cells"], b[name]["cells"]
        if set(ca) != set(cb):
            fail("xlrd sheet %s: cells %r differ" % (name, sorted(set(ca) ^ set(cb))[:10]))
        for at in ca:
            if ca[at] != cb[at]:
                fail("xlrd sheet %s cell %r: %r != %r" % (name, at, ca[at], cb[at]))
    count = sum(len(a[n]["cells"]) for n in a["sheets"])
    print("xlrd: %d sheets, %d cells alike" % (len(a["sheets"]), count))


def libreoffice_csv(path, out_dir, profile):
    os.makedirs(out_dir, exist_ok=True)
    # Field separator, quote, UTF-8, first line; quote all text, cell text as
    # shown (formatted), all sheets into separate files.
    libreoffice_export(path, out_dir, profile,
                       "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true,true,false,false,-1")
    return read_csvs(out_dir)


def gnumeric_csv(path, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    gnumeric_export(path, os.path.join(out_dir, "sheet.%n.csv"), "--recalc", "-S", "-T",
                    "Gnumeric_stf:stf_assistant", "-O", "format=preserve")
    return read_csvs(out_dir)


def read_csvs(folder):
    result = {}
    for f in csv_files(folder):
        with open(f, encoding="utf-8", errors="replace") as h:
            result[os.path.basename(f).split(".", 1)[-1] if "sheet." in f else os.path.basename(f)] = h.read()
    return result


def compare_exports(kind, a, b):
    names_a = sorted(a)
    names_b = sorted(b)
    if len(names_a) != len(names_b):
        fail("%s exported %d sheets from the original, %d from the copy" % (kind, len(a), len(b)))
    for na, nb in zip(names_a, names_b):
        if a[na] != b[nb]:
            la, lb = a[na].splitlines(), b[nb].splitlines()
            for i, (x, y) in enumerate(zip(la, lb)):
                if x != y:
                    fail("%s sheet %s line %d: %r != %r" % (kind, na, i + 1, x, y))
            fail("%s sheet %s: %d lines != %d lines" % (kind, na, len(la), len(lb)))
    print("%s: %d sheets shown alike" % (kind, len(a)))


def main():
    original, copy, work = tool_output("copy.xls")
    compare_xlrd(original, copy)
    profile = os.path.join(work, "lo-profile")
    compare_exports("LibreOffice", libreoffice_csv(original, os.path.join(work, "lo-original"), profile),
                    libreoffice_csv(copy, os.path.join(work, "lo-copy"), profile))
    compare_exports("Gnumeric", gnumeric_csv(original, os.path.join(work, "gn-original")),
                    gnumeric_csv(copy, os.path.join(work, "gn-copy")))
    print("PASS")


if __name__ == "__main__":
    main()
