"""Text at the edges, written by the engine, as python3-xlrd, LibreOffice and
Gnumeric read it: every character whole, the cut at 32,767 UTF-16 units made
between characters.
Usage: check_edge_text.py <edge_text_tool> <base.xls> <work folder>"""
import csv
import os

import xlrd

from interop_files import csv_files, fail, gnumeric_export, libreoffice_export, tool_output

EMOJI, CLEF = "\U0001F600", "\U0001D11E"
EXPECTED = [
    "a" + EMOJI * 3000,
    "ab" + EMOJI * 3000,
    "\u6F22\u5B57" * 3000,
    "e\u0301" * 2500,
    "x" * 32766,  # the pair after it would make 32,768 units: it goes whole
    "x" * 4100 + CLEF + EMOJI * 5000,
]
SHEET = "\u52E4\u52D9\u8868"
FIRST_ROW = 200


def check(kind, values):
    for i, (got, want) in enumerate(zip(values, EXPECTED)):
        if got != want:
            at = next((k for k, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
            fail("%s row %d: %d characters, expected %d; first difference at %d: %r" %
                 (kind, FIRST_ROW + i + 1, len(got), len(want), at, got[at:at + 3]))
    if len(values) != len(EXPECTED):
        fail("%s: %d texts, expected %d" % (kind, len(values), len(EXPECTED)))
    print("%s: %d texts whole" % (kind, len(values)))


def csv_column(folder):
    first = csv_files(folder)[0]
    csv.field_size_limit(10 ** 7)
    with open(first, encoding="utf-8", newline="") as h:
        rows = list(csv.reader(h))
    return [rows[FIRST_ROW + i][0] for i in range(len(EXPECTED))]


def main():
    _, out, work = tool_output("edge.xls")

    book = xlrd.open_workbook(out)
    sheet = book.sheet_by_index(0)
    if sheet.name != SHEET:
        fail("xlrd sheet name %r" % sheet.name)
    check("xlrd", [sheet.cell_value(FIRST_ROW + i, 0) for i in range(len(EXPECTED))])

    lo = os.path.join(work, "lo")
    libreoffice_export(out, lo, os.path.join(work, "profile"), "csv:Text - txt - csv (StarCalc):44,34,76,1")
    check("LibreOffice", csv_column(lo))

    gn = os.path.join(work, "gn")
    os.makedirs(gn)
    gnumeric_export(out, os.path.join(gn, "sheet.csv"), "-T", "Gnumeric_stf:stf_csv")
    check("Gnumeric", csv_column(gn))
    print("PASS")


if __name__ == "__main__":
    main()
