#!/usr/bin/python3
"""Runs tallowby-fill on general fields that look like numbers, dates and truth
values, rates that are no numbers and hours that are no durations, and reads
the workbook with python3-xlrd: the six general fields are text exactly as
typed, the bad rates' cells are empty with 0.00 pay, bad hours are not written."""
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd

FILL = sys.argv[1]
WORK = tempfile.mkdtemp(prefix="tallowby-text-")

FIELDS = {"txtName": ("TRUE", 3, 0), "txtLocation": ("1/2", 6, 0), "txtCity": ("+15550100", 7, 0),
          "txtPhone": ("0123456", 8, 0), "txtEmp": ("007", 4, 6), "txtSVisor": ("1e5", 6, 6)}


def main():
    settings = os.path.join(WORK, "week.ini")
    with open(settings, "w", encoding="utf-8") as f:
        f.write("[Tallowby]\n")
        for key, (text, _, _) in FIELDS.items():
            f.write("%s=%s\n" % (key, text))
        f.write("dtpDate=2021-08-30\n")
        f.write("Rates=Regular^abc|Overtime^1e308|Illness^10\n")
        f.write("Hours=Mon^Regular^02:00^0^0|Tue^Overtime^03:00^1^1|Wed^Illness^04:00^2^2|"
                "Wed^Illness^25:61^2^2|Thu^Illness^-1:00^3^2\n")
    xls = os.path.join(WORK, "week.xls")
    run = subprocess.run([FILL, "--xls", xls, "--settings", settings],
                         capture_output=True, text=True, check=False)
    failures = []
    if run.returncode != 1:
        failures.append("exit %d, expected 1 for the reported rates: %s" % (run.returncode, run.stderr))
    sheet = xlrd.open_workbook(xls).sheet_by_index(0)
    for key, (text, row, col) in FIELDS.items():
        cell = sheet.cell(row, col)
        if cell.ctype != xlrd.XL_CELL_TEXT or cell.value != text:
            failures.append("%s: %r, expected the text %r" % (key, cell, text))
    for col in (1, 2):  # B20, C20: not written; B21, C21: no pay
        if sheet.cell(19, col).ctype not in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
            failures.append("rate in column %d was written: %r" % (col, sheet.cell(19, col)))
        if sheet.cell(20, col).value != 0.0:
            failures.append("pay in column %d: %r, expected 0" % (col, sheet.cell(20, col)))
    if abs(sheet.cell(20, 3).value - 40.0) > 1e-9:  # D21: 4 hours at 10, the bad hours left out
        failures.append("pay in column D: %r, expected 40" % sheet.cell(20, 3))
    if sheet.cell(14, 3).ctype not in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):  # D15, Thursday
        failures.append("bad hours were written: %r" % sheet.cell(14, 3))
    for failure in failures:
        print("FAIL:", failure)
    shutil.rmtree(WORK, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
