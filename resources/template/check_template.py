#!/usr/bin/python3
"""Checks a built timesheet template against what the program relies on.

  * python3-xlrd (formatting_info): the one sheet and its name, the print
    area, merges, labels, number formats, wrap, signature lines, hidden
    gridlines, cached formula results, and the drawn width of A..I;
  * LibreOffice (when soffice is present): the formulas as it decodes them;
  * Gnumeric (when ssconvert is present): a copy filled with a week of hours
    and rates is recalculated and every total and amount of pay compared with
    figures worked out here.

Usage: check_template.py FILE.xlt     (exit status 1 and a list on failure)
"""

import csv
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile

import xlrd

SHEET = "Employee Timesheet"
ACCOUNTING = '_($* #,##0.00_);_($* (#,##0.00);_($* "-"??_);_(@_)'
RATE_NAMES = ["Regular", "Overtime", "Illness", "Vacation", "Holiday", "Unpaid", "Other"]
COLUMNS = "ABCDEFGHI"

LABELS = {
    "A1": "Employee Timesheet", "A4": "[Company Name]", "A7": "[Address]",
    "A8": "[City, State  ZIP]", "A9": "[Phone]", "E5": "Employee Name:",
    "E7": "Supervisor Name:", "E9": "Week Start:", "A11": "Day of Week",
    "I11": "TOTAL\nHOURS", "A19": "Total Hours:", "A20": "Hour Rate:",
    "A21": "Total Pay:", "A23": "Total Hours Reported:", "A24": "Total Pay:",
    "A27": "Employee:", "A29": "Supervisor:",
}
LABELS.update({f"{COLUMNS[1 + i]}11": name for i, name in enumerate(RATE_NAMES)})

MERGES = ["A1:I1", "A4:E4", "A7:D7", "A8:D8", "A9:D9", "G5:I5", "G7:I7", "G9:H9"]
EMPTY = ["G5", "G7", "G9"] + [f"{c}{r}" for c in "BCDEFGH" for r in range(12, 19)] + \
        [f"{c}20" for c in "BCDEFGH"]


def expected_formulas():
    """Formula of each cell, in LibreOffice's ODF notation."""
    formulas = {"A12": "of:=[.G9]", "I21": "of:=SUM([.B21:.H21])",
                "D23": "of:=[.I19]", "D24": "of:=[.I21]"}
    for row in range(13, 19):
        formulas[f"A{row}"] = f"of:=[.A{row - 1}]+1"
    for row in range(12, 19):
        formulas[f"I{row}"] = f"of:=SUM([.B{row}:.H{row}])"
    for col in "BCDEFGHI":
        formulas[f"{col}19"] = f"of:=SUM([.{col}12:.{col}18])"
    for col in "BCDEFGH":
        formulas[f"{col}21"] = f"of:=[.{col}20]*[.{col}19]*24"
    return formulas


def expected_formats():
    """Format code (or built-in id) each cell must carry."""
    formats = {"G9": 14, "H9": 14, "I21": 44, "D24": 44, "D23": "[h]:mm"}
    for row in range(12, 19):
        formats[f"A{row}"] = "ddd\\ m/d"
    for col in "BCDEFGHI":
        for row in range(12, 20):
            formats[f"{col}{row}"] = "[h]:mm"
    for col in "BCDEFGH":
        formats[f"{col}20"] = "#,##0.00"
        formats[f"{col}21"] = "#,##0.00"
    return formats


def address(name):
    match = re.fullmatch(r"([A-Z])(\d+)", name)
    return int(match.group(2)) - 1, ord(match.group(1)) - ord("A")


class Checker:
    def __init__(self):
        self.failures = []
        self.passed = 0

    def expect(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failures.append(what)


def check_with_xlrd(path, check):
    book = xlrd.open_workbook(path, formatting_info=True)
    check.expect(book.sheet_names() == [SHEET], f"sheets are {book.sheet_names()}")
    sheet = book.sheet_by_index(0)

    merges = sorted(sheet.merged_cells)
    wanted = []
    for text in MERGES:
        first, last = text.split(":")
        (r1, c1), (r2, c2) = address(first), address(last)
        wanted.append((r1, r2 + 1, c1, c2 + 1))
    check.expect(merges == sorted(wanted), f"merges are {merges}")

    areas = [n for n in book.name_obj_list if n.name == "Print_Area"]
    check.expect(len(areas) == 1 and areas[0].scope == 0, "one Print_Area name for sheet 1")
    if areas:
        refs = areas[0].result.value if areas[0].result else None
        check.expect(refs and refs[0].coords == (0, 1, 0, 31, 0, 9), f"print area is {refs}")

    def cell(name):
        row, col = address(name)
        return sheet.cell(row, col)

    for name, text in LABELS.items():
        value = cell(name).value
        check.expect(value == text, f"{name} holds {value!r}, not {text!r}")
    for name in EMPTY:
        check.expect(cell(name).ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK), f"{name} is not empty")

    for name, wanted_format in expected_formats().items():
        xf = book.xf_list[cell(name).xf_index]
        code = book.format_map[xf.format_key].format_str
        if isinstance(wanted_format, int):
            check.expect(xf.format_key == wanted_format, f"{name} has format {xf.format_key} {code!r}")
        else:
            check.expect(code == wanted_format, f"{name} has format {code!r}, not {wanted_format!r}")
    check.expect(book.format_map[44].format_str == ACCOUNTING, "FORMAT 44 is the accounting code")
    check.expect(book.xf_list[cell("I11").xf_index].alignment.text_wrapped == 1, "I11 wraps")

    for row in (26, 28):
        for col in "ABCD":
            border = book.xf_list[cell(f"{col}{row}").xf_index].border
            check.expect(border.bottom_line_style != 0, f"{col}{row} has no signature line")

    for name in expected_formulas():
        check.expect(cell(name).ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE),
                     f"{name} has no numeric cached result")

    check.expect(sheet.show_grid_lines == 0, "gridlines are shown")
    widths = [round(sheet.computed_column_width(c) * 7 / 256) for c in range(9)]
    total = sum(widths)
    check.expect(600 <= total <= 700, f"columns A..I are {total} px wide")
    return widths, total


def check_with_libreoffice(path, check, work):
    """Formulas as LibreOffice decodes them from the BIFF tokens."""
    copy = os.path.join(work, "formulas.xls")
    shutil.copy(path, copy)
    subprocess.run(["soffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                    "--convert-to", "fods", "--outdir", work, copy],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    text = open(os.path.join(work, "formulas.fods"), encoding="utf-8").read()
    table = text[text.index("<table:table "):text.index("</table:table>")]
    found, styles = {}, {}
    for row_number, row in enumerate(re.findall(r"<table:table-row[^>]*>(.*?)</table:table-row>", table, re.S), 1):
        col = 0
        for cell in re.findall(r"<table:(?:covered-)?table-cell\b[^>]*?(?:/>|>.*?</table:(?:covered-)?table-cell>)", row, re.S):
            repeat = re.search(r'table:number-columns-repeated="(\d+)"', cell)
            formula = re.search(r'table:formula="([^"]*)"', cell)
            style = re.search(r'table:style-name="([^"]*)"', cell)
            name = f"{chr(ord('A') + col)}{row_number}" if col < 26 else None
            if formula and name:
                found[name] = formula.group(1).replace("&quot;", '"')
            if style and name:
                styles[name] = style.group(1)
            col += int(repeat.group(1)) if repeat else 1
    wanted = expected_formulas()
    for name, formula in wanted.items():
        check.expect(found.get(name) == formula, f"{name} formula is {found.get(name)!r}, not {formula!r}")
    extra = sorted(set(found) - set(wanted))
    check.expect(not extra, f"unexpected formulas in {extra}")

    # Format 44 is known to LibreOffice only through its FORMAT record: without
    # one the pay totals would show as plain numbers.
    for name in ("I21", "D24"):
        cell_style = re.search(r'<style:style style:name="%s"[^>]*style:data-style-name="([^"]*)"'
                               % re.escape(styles.get(name, "?")), text)
        # A format with sections is a main style plus volatile ones named <main>P0, P1...
        parts = "".join(m.group(0) for m in re.finditer(
            r'<number:([a-z-]+) style:name="%sP?\d*".*?</number:\1>' % re.escape(cell_style.group(1)),
            text, re.S)) if cell_style else ""
        check.expect("currency-symbol" in parts and "fill-character" in parts and "value()&lt;0" in parts,
                     f"LibreOffice shows {name} without the accounting format")


def check_with_gnumeric(path, check, work):
    """Fills a copy with a week of hours and rates and lets Gnumeric recalculate it."""
    week_start = 44438  # Monday 30 August 2021
    hours = {("B", 12): 8, ("B", 13): 7.5, ("C", 13): 2, ("D", 14): 8,
             ("E", 16): 4.25, ("H", 18): 1.5, ("B", 18): 3}
    rates = {"B": 11.5, "C": 17.25, "D": 11.5, "E": 11.5, "F": 0, "G": 0, "H": 9.8}

    gnumeric = os.path.join(work, "template.gnumeric")
    subprocess.run(["ssconvert", path, gnumeric], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with gzip.open(gnumeric, "rt", encoding="utf-8") as f:
        text = f.read()
    cells = [(8, 6, week_start)]
    cells += [(row - 1, ord(col) - ord("A"), value / 24) for (col, row), value in hours.items()]
    cells += [(19, ord(col) - ord("A"), value) for col, value in rates.items()]
    inserted = "".join(f'<gnm:Cell Row="{r}" Col="{c}" ValueType="40">{v!r}</gnm:Cell>\n' for r, c, v in cells)
    text = text.replace("</gnm:Cells>", inserted + "</gnm:Cells>", 1)
    with gzip.open(gnumeric, "wt", encoding="utf-8") as f:
        f.write(text)
    raw_csv = os.path.join(work, "raw.csv")
    subprocess.run(["ssconvert", "--recalc", "-T", "Gnumeric_stf:stf_assistant", "-O", "format=raw separator=,",
                    gnumeric, raw_csv],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(raw_csv, encoding="utf-8", newline="") as f:
        grid = list(csv.reader(f))

    def value(name):
        row, col = address(name)
        try:
            return float(grid[row][col])
        except (IndexError, ValueError):
            return None

    def close(got, want):
        return got is not None and abs(got - want) < 1e-9

    for day in range(7):
        name = f"A{12 + day}"
        check.expect(close(value(name), week_start + day), f"{name} is {value(name)}")
        day_hours = sum(v for (col, row), v in hours.items() if row == 12 + day)
        check.expect(close(value(f"I{12 + day}"), day_hours / 24), f"I{12 + day} is {value(f'I{12 + day}')}")
    total_pay = 0.0
    for col in "BCDEFGH":
        col_hours = sum(v for (c, row), v in hours.items() if c == col)
        check.expect(close(value(f"{col}19"), col_hours / 24), f"{col}19 is {value(f'{col}19')}")
        pay = col_hours * rates[col]
        total_pay += pay
        check.expect(close(value(f"{col}21"), pay), f"{col}21 is {value(f'{col}21')}, not {pay}")
    all_hours = sum(hours.values())
    check.expect(close(value("I19"), all_hours / 24), f"I19 is {value('I19')}")
    check.expect(close(value("I21"), total_pay), f"I21 is {value('I21')}, not {total_pay}")
    check.expect(close(value("D23"), all_hours / 24), f"D23 is {value('D23')}")
    check.expect(close(value("D24"), total_pay), f"D24 is {value('D24')}")
    return all_hours, total_pay


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.splitlines()[-1])
    path = os.path.abspath(sys.argv[1])
    check = Checker()
    widths, total = check_with_xlrd(path, check)
    print(f"columns A..I: {widths} px, {total} px in all", flush=True)
    with tempfile.TemporaryDirectory(prefix="tallowby-template-check.") as work:
        if shutil.which("soffice"):
            check_with_libreoffice(path, check, work)
        else:
            print("soffice not found: formulas not decoded")
        if shutil.which("ssconvert"):
            hours, pay = check_with_gnumeric(path, check, work)
            print(f"Gnumeric recalculated a filled copy: {hours} hours, pay {pay:.2f}")
        else:
            print("ssconvert not found: no recalculation")
    for failure in check.failures:
        print("FAILED:", failure)
    print(f"{check.passed} checks passed, {len(check.failures)} failed")
    sys.exit(1 if check.failures else 0)


if __name__ == "__main__":
    main()
