#!/usr/bin/python3
"""python3-xlrd reads the timesheet template, and the workbook the engine
saves from it, and finds the sheet, print area, merges, labels and number
formats the generation run relies on.

Usage: check_template_table.py <roundtrip tool> <template.xlt> <work dir>"""
import sys

import xlrd

from interop_files import tool_output

COLUMNS = "ABCDEFGHI"
LABELS = {
    "A1": "Employee Timesheet", "A4": "[Company Name]", "A7": "[Address]",
    "A8": "[City, State  ZIP]", "A9": "[Phone]", "E5": "Employee Name:",
    "E7": "Supervisor Name:", "E9": "Week Start:", "A11": "Day of Week",
    "B11": "Regular", "C11": "Overtime", "D11": "Illness", "E11": "Vacation",
    "F11": "Holiday", "G11": "Unpaid", "H11": "Other", "I11": "TOTAL\nHOURS",
    "A19": "Total Hours:", "A20": "Hour Rate:", "A21": "Total Pay:",
    "A23": "Total Hours Reported:", "A24": "Total Pay:", "A27": "Employee:",
    "A29": "Supervisor:",
}
MERGES = ["A1:I1", "A4:E4", "A7:D7", "A8:D8", "A9:D9", "G5:I5", "G7:I7", "G9:H9"]


def formats():
    wanted = {}
    for row in range(12, 19):
        wanted["A%d" % row] = "ddd\\ m/d"
        for col in "BCDEFGHI":
            wanted["%s%d" % (col, row)] = "[h]:mm"
    for col in "BCDEFGHI":
        wanted[col + "19"] = "[h]:mm"
    for col in "BCDEFGH":
        wanted[col + "20"] = "#,##0.00"
        wanted[col + "21"] = "#,##0.00"
    wanted["D23"] = "[h]:mm"
    return wanted


def cell_at(a1):
    return int(a1[1:]) - 1, COLUMNS.index(a1[0])


def check(path):
    problems = []
    book = xlrd.open_workbook(path, formatting_info=True)
    if book.nsheets != 1 or book.sheet_by_index(0).name != "Employee Timesheet":
        problems.append("sheets: %r" % book.sheet_names())
    sheet = book.sheet_by_index(0)
    areas = [n for n in book.name_obj_list if n.name == "Print_Area"]
    if len(areas) != 1:
        problems.append("print area names: %d" % len(areas))
    else:
        # (first sheet, past last sheet, first row, past last row, first col, past last col)
        _, _, rlo, rhi, clo, chi = areas[0].result.value[0].coords
        if (rlo, rhi, clo, chi) != (0, 31, 0, 9):
            problems.append("print area rows %d-%d cols %d-%d" % (rlo, rhi, clo, chi))
    merged = sorted(sheet.merged_cells)
    for m in MERGES:
        first, last = m.split(":")
        r0, c0 = cell_at(first)
        r1, c1 = cell_at(last)
        if (r0, r1 + 1, c0, c1 + 1) not in merged:
            problems.append("merge %s missing" % m)
    for a1, text in LABELS.items():
        r, c = cell_at(a1)
        if sheet.cell_value(r, c) != text:
            problems.append("%s is %r" % (a1, sheet.cell_value(r, c)))
    for a1, code in formats().items():
        r, c = cell_at(a1)
        xf = book.xf_list[sheet.cell_xf_index(r, c)]
        got = book.format_map[xf.format_key].format_str
        if got != code:
            problems.append("%s format %r" % (a1, got))
    # G9 short date (built-in 14), I21 accounting (built-in 44).
    for a1, key in (("G9", 14), ("I21", 44)):
        r, c = cell_at(a1)
        if book.xf_list[sheet.cell_xf_index(r, c)].format_key != key:
            problems.append("%s format id %d" % (a1, book.xf_list[sheet.cell_xf_index(r, c)].format_key))
    return problems


def main():
    template, saved, _ = tool_output("saved.xls", "--as-workbook")
    failed = False
    for label, path in (("template", template), ("saved workbook", saved)):
        problems = check(path)
        for p in problems:
            print("FAIL %s: %s" % (label, p))
        failed = failed or bool(problems)
        if not problems:
            print("xlrd: %s shows the timesheet table" % label)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
