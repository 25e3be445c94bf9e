#!/usr/bin/python3
"""The payroll summary read by other programs: tallowby-fill makes timesheets
and their summary (.xls and .xlsx); python3-xlrd reads the .xls's cached
results, python3-openpyxl the .xlsx's formulas and cached results, and
LibreOffice and Gnumeric recalculate both (the .xlsx with its cached results
spoilt first). Every row's totals and the grand totals must equal the
timesheets' own workbooks and the figures worked out from their settings."""
import os
import shutil
import subprocess
import sys

import openpyxl
import xlrd

from xlsx_interop import (_cell_value, close, fail, finish, gnumeric_to_xls, libreoffice_convert,
                          tampered_copy)

FILL = sys.argv[1]
WORK = sys.argv[2]

TEMPLATE_HEADINGS = ["Regular", "Overtime", "Illness", "Vacation", "Holiday", "Unpaid", "Other"]


def timesheets():
    """(file, employee, week, rates, entries): varied rate types sharing
    descriptions, repeated entries, entries with no place, a rate that is no
    number, hours in a template column past the typed rates, a week without
    hours. Entries are (hh:mm, day, rate index)."""
    return [
        ("ada-1.ini", "Ada Lovelace", "2026-11-23", [("Regular", "21.50"), ("Overtime", "32.25")],
         [("08:00", 0, 0), ("01:30", 0, 0), ("02:15", 1, 1), ("04:00", 7, 0), ("03:00", 2, 9)]),
        ("ada-2.ini", "Ada Lovelace", "2026-11-30", [("Regular", "21.50"), ("Night", "27")],
         [("07:45", 0, 0), ("06:10", 2, 1), ("05:00", 4, 4)]),
        ("bo.ini", "Bo Brant", "2026-11-30", [("Regular", "12.25"), ("Bonus", "n/a")],
         [("09:00", 3, 0), ("02:00", 3, 1), ("08:75", 1, 0), ("01:00", -1, 0)]),
        ("cy.ini", "Cy Carver", "2026-11-30", [("Regular", "15")], []),
        ("di.ini", "Di Dunmore", "2026-11-30",
         [("Regular", "18.40"), ("Overtime", "27.60"), ("Night", "22"), ("Weekend", "30"),
          ("Travel", "9.99"), ("Training", "14"), ("Holiday", "36"), ("On call", "5.5")],
         [("10:00", d, r) for d in range(7) for r in range(8) if (d + r) % 3 == 0]
         + [("00:20", 6, 7), ("00:20", 6, 7)]),
    ]


def ini_text(employee, week, rates, entries):
    return ("[Tallowby]\ntxtName=ACME Inc\ntxtEmp=%s\ntxtSVisor=Rolf Ambry\ndtpDate=%s\n"
            "Rates=%s\nHours=%s\n" % (
                employee, week, "|".join("%s^%s" % r for r in rates),
                "|".join("d^t^%s^%d^%d" % e for e in entries)))


def expected(rates, entries):
    """{description: (hours, pay)} as the timesheet shows it, from the settings alone."""
    columns = max(len(rates), 7)
    hours = [0.0] * columns
    for hhmm, day, rate in entries:
        h, m = hhmm.split(":")
        if not 0 <= day < 7 or not 0 <= rate < columns or int(m) > 59:
            continue
        hours[rate] += int(h) + int(m) / 60
    figures = {}
    for i in range(columns):
        typed = i < len(rates)
        if not typed and hours[i] == 0:
            continue
        name = rates[i][0] if typed else TEMPLATE_HEADINGS[i]
        try:
            rate = float(rates[i][1]) if typed else 0.0
        except ValueError:
            rate = 0.0
        got = figures.get(name, (0.0, 0.0))
        figures[name] = (got[0] + hours[i], got[1] + hours[i] * rate)
    return figures


def timesheet_totals(path, rate_count):
    """The timesheet workbook's own total hours and total pay."""
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    column = 2 + max(rate_count, 7)
    return sheet.cell_value(18, column - 1) * 24, sheet.cell_value(20, column - 1)


def summary_view(rows):
    """{file: (total hours, total pay)} and the grand totals, from the
    summary's cells (a list of rows of values, 0-based)."""
    last_col = len(rows[3])
    rate_types = (last_col - 7) // 2
    hours_col, pay_col = 4 + rate_types, 5 + 2 * rate_types
    per_file = {}
    for row in rows[4:-1]:
        per_file[row[last_col - 1]] = (row[hours_col] * 24, row[pay_col])
    grand = rows[-1]
    if grand[0] != "Grand Total":
        fail("the summary's last row is %r" % (grand,))
    return per_file, (grand[hours_col] * 24, grand[pay_col])


def xls_rows(path):
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    width = sheet.ncols
    return [[sheet.cell_value(r, c) if c < sheet.row_len(r) else "" for c in range(width)]
            for r in range(sheet.nrows)]


def xlsx_rows(path, data_only):
    sheet = openpyxl.load_workbook(path, data_only=data_only).worksheets[0]
    # Hours come as time spans and the week as a date: as serial numbers, as xlrd gives them.
    return [[("" if v is None else (v if isinstance(v, str) else _cell_value(v))) for v in row]
            for row in sheet.iter_rows(min_row=1, max_row=sheet.max_row, values_only=True)]


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    folder = os.path.join(WORK, "timesheets")
    os.makedirs(folder)
    want = {}
    for name, employee, week, rates, entries in timesheets():
        ini = os.path.join(folder, name)
        with open(ini, "w", encoding="utf-8") as f:
            f.write(ini_text(employee, week, rates, entries))
        xls = os.path.join(WORK, name + ".xls")
        subprocess.run([FILL, "--xls", xls, "--settings", ini], capture_output=True, timeout=120)
        if not os.path.exists(xls):
            fail("%s: tallowby-fill made no timesheet" % name)
        figures = expected(rates, entries)
        from_ini = (sum(h for h, _ in figures.values()), sum(p for _, p in figures.values()))
        own = timesheet_totals(xls, len(rates))
        if not close(own[0], from_ini[0]) or not close(own[1], from_ini[1]):
            fail("%s: the timesheet shows %r, its settings give %r" % (name, own, from_ini))
        want[name] = from_ini
    grand_want = (sum(h for h, _ in want.values()), sum(p for _, p in want.values()))

    summary_xls = os.path.join(WORK, "summary.xls")
    summary_xlsx = os.path.join(WORK, "summary.xlsx")
    for out in (summary_xls, summary_xlsx):
        done = subprocess.run([FILL, "--summary-only", "--summary", out, folder],
                              capture_output=True, text=True, timeout=120)
        if done.returncode != 0:
            fail("tallowby-fill --summary %s failed (%d): %s" % (out, done.returncode, done.stderr))

    formulas = xlsx_rows(summary_xlsx, data_only=False)
    last_col = len(formulas[3])
    rate_types = (last_col - 7) // 2
    for row in formulas[4:]:
        for col in (4 + rate_types, 5 + 2 * rate_types):
            if not str(row[col]).startswith("=SUM("):
                fail("the .xlsx total %r is no SUM formula" % (row[col],))

    spoilt = os.path.join(WORK, "spoilt", "summary.xlsx")
    os.makedirs(os.path.dirname(spoilt))
    tampered_copy(summary_xlsx, spoilt)
    libreoffice = libreoffice_convert([summary_xls, spoilt], os.path.join(WORK, "lo"),
                                      os.path.join(WORK, "lo-profile"))
    readers = [
        ("xlrd (.xls cached)", xls_rows(summary_xls)),
        ("openpyxl (.xlsx cached)", xlsx_rows(summary_xlsx, data_only=True)),
        ("LibreOffice (.xls)", xls_rows(libreoffice[0])),
        ("LibreOffice (.xlsx spoilt)", xls_rows(libreoffice[1])),
        ("Gnumeric (.xls)",
         xls_rows(gnumeric_to_xls(summary_xls, os.path.join(WORK, "gnumeric.xls")))),
        ("Gnumeric (.xlsx spoilt)",
         xls_rows(gnumeric_to_xls(spoilt, os.path.join(WORK, "gnumeric-x.xls")))),
    ]
    failures = []
    for reader, rows in readers:
        per_file, grand = summary_view(rows)
        if sorted(per_file) != sorted(want):
            failures.append("%s: rows for %r, want %r" % (reader, sorted(per_file), sorted(want)))
            continue
        for name, (hours, pay) in per_file.items():
            if not close(hours, want[name][0]) or not close(pay, want[name][1]):
                failures.append("%s: %s totals %r, want %r" % (reader, name, (hours, pay),
                                                                want[name]))
        if not close(grand[0], grand_want[0]) or not close(grand[1], grand_want[1]):
            failures.append("%s: grand total %r, want %r" % (reader, grand, grand_want))
        print("%-27s grand total hours %.4f  pay %.4f" % (reader, grand[0], grand[1]))
    finish(failures, WORK, "the summary's totals equal the sum of the timesheets for every reader")


main()
