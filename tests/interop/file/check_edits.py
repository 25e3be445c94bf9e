#!/usr/bin/python3
"""A workbook changed by the engine, with number formats and cell styles the
original lacked, a merge and a print area added: python3-xlrd, LibreOffice
and Gnumeric show the new cells as meant.

Usage: check_edits.py <roundtrip tool> <original.xls> <work dir>"""
import csv
import os

import xlrd

from interop_files import csv_files, fail, gnumeric_export, libreoffice_export, tool_output


def check_xlrd(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)

    def fmt(r, c):
        return book.format_map[book.xf_list[sheet.cell_xf_index(r, c)].format_key].format_str

    if sheet.cell_value(10, 9) != 1.0625 or fmt(10, 9) != "[h]:mm:ss":
        fail("xlrd J11: %r %r" % (sheet.cell_value(10, 9), fmt(10, 9)))
    xf = book.xf_list[sheet.cell_xf_index(10, 9)]
    if xf.background.fill_pattern != 1 or xf.background.pattern_colour_index != 13 or \
            xf.border.bottom_line_style != 2 or xf.alignment.hor_align != 3:
        fail("xlrd J11 style: fill %d colour %d bottom %d align %d" % (
            xf.background.fill_pattern, xf.background.pattern_colour_index,
            xf.border.bottom_line_style, xf.alignment.hor_align))
    if sheet.cell_value(59, 0) != 1234.5 or fmt(59, 0) != '#,##0.000\\ "h"':
        fail("xlrd A60: %r %r" % (sheet.cell_value(59, 0), fmt(59, 0)))
    if not book.xf_list[sheet.cell_xf_index(59, 0)].alignment.text_wrapped:
        fail("xlrd A60 not wrapped")
    if sheet.cell_value(59, 1) != "\u03a3\u03cd\u03bd\u03bf\u03bb\u03bf":
        fail("xlrd B60: %r" % sheet.cell_value(59, 1))
    if (61, 63, 0, 4) not in sheet.merged_cells:
        fail("xlrd merges: %r" % sheet.merged_cells)
    areas = [n for n in book.name_obj_list if n.name == "Print_Area" and n.scope == 0]
    if len(areas) != 1 or areas[0].result.value[0].coords[2:] != (0, 63, 0, 10):
        fail("xlrd print area: %r" % [n.result.value[0].coords for n in areas])
    print("xlrd: new formats, styles, merge and print area read back")


def first_sheet_rows(folder):
    with open(csv_files(folder)[0], encoding="utf-8", errors="replace") as f:
        return list(csv.reader(f))


def check_shown(kind, rows):
    def at(r, c):
        return rows[r][c] if r < len(rows) and c < len(rows[r]) else ""
    if at(10, 9) != "25:30:00" or at(59, 0) != "1,234.500 h" or at(61, 0) != "merged note":
        fail("%s shows J11 %r, A60 %r, A62 %r" % (kind, at(10, 9), at(59, 0), at(61, 0)))
    print("%s: new cells shown as formatted" % kind)


def main():
    _, edited, work = tool_output("edited.xls", "--edit")
    check_xlrd(edited)
    lo = os.path.join(work, "lo")
    libreoffice_export(edited, lo, os.path.join(work, "profile"),
                       "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,1")
    check_shown("LibreOffice", first_sheet_rows(lo))
    gn = os.path.join(work, "gn")
    os.makedirs(gn)
    gnumeric_export(edited, os.path.join(gn, "sheet.%n.csv"), "-S", "-T",
                    "Gnumeric_stf:stf_assistant", "-O", "format=preserve")
    check_shown("Gnumeric", first_sheet_rows(gn))
    print("PASS")


if __name__ == "__main__":
    main()
