"""What the .xlsx checks share: reading a workbook cell by cell with
python3-xlrd (.xls) and python3-openpyxl (.xlsx), and having LibreOffice and
Gnumeric recalculate an .xlsx and save it as .xls.

The checks run as scripts from this folder, so Python finds this module
beside them."""
import datetime
import os
import re
import shutil
import subprocess
import sys
import zipfile

import openpyxl
import xlrd
from openpyxl.styles.numbers import BUILTIN_FORMATS
from openpyxl.utils.datetime import to_excel

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from xls_cells import filled_cells  # noqa: E402

# LibreOffice shows the cached results of an .xlsx unless told to
# recalculate on load (0: always).
RECALC_ALWAYS = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry"
 xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="ODFRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
"""


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def finish(failures, work, agreed):
    """Prints the failures and exits 1; with none, removes the work folder
    and says what agreed."""
    if failures:
        print("\n".join(failures))
        sys.exit(1)
    shutil.rmtree(work, ignore_errors=True)
    print(agreed)


def close(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))


def recalculating_profile(folder):
    """A LibreOffice profile folder of its own that recalculates every
    formula on load; returned as the -env:UserInstallation value."""
    user = os.path.join(folder, "user")
    os.makedirs(user, exist_ok=True)
    with open(os.path.join(user, "registrymodifications.xcu"), "w", encoding="utf-8") as f:
        f.write(RECALC_ALWAYS)
    return "file://" + folder


def libreoffice_convert(paths, out_dir, profile_dir, extension="xls",
                        filter_name="MS Excel 97"):
    """LibreOffice recalculates every file and saves it into out_dir in the
    given format, all in one run. Returns the written paths in the given order."""
    os.makedirs(out_dir, exist_ok=True)
    subprocess.run(["soffice", "-env:UserInstallation=" + recalculating_profile(profile_dir),
                    "--headless", "--convert-to", extension + ":" + filter_name,
                    "--outdir", out_dir, *paths],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    out = [os.path.join(out_dir, os.path.splitext(os.path.basename(p))[0] + "." + extension)
           for p in paths]
    for p in out:
        if not os.path.exists(p):
            fail("LibreOffice wrote no " + p)
    return out


def gnumeric_to_xls(path, out):
    subprocess.run(["ssconvert", "--recalc", path, out], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=300)
    return out


def tampered_copy(src, dst):
    """The .xlsx with every cached formula result replaced by 12345, so a
    reader that does not recalculate is caught."""
    with zipfile.ZipFile(src) as zin, zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED) as zout:
        for item in zin.infolist():
            data = zin.read(item.filename)
            if item.filename.startswith("xl/worksheets/"):
                text = data.decode("utf-8")
                text = re.sub(r"(</f>)<v>[^<]*</v>", r"\1<v>12345</v>", text)
                data = text.encode("utf-8")
            zout.writestr(item, data)


def xls_values(path):
    """{sheet name: {(row, col): value}} of every non-empty cell, 0-based;
    numbers as floats, logical values as bools, errors as their text."""
    book = xlrd.open_workbook(path)
    out = {}
    for sheet in book.sheets():
        cells = {}
        for r, c, cell in filled_cells(sheet):
            if cell.ctype == xlrd.XL_CELL_BOOLEAN:
                cells[(r, c)] = bool(cell.value)
            elif cell.ctype == xlrd.XL_CELL_ERROR:
                cells[(r, c)] = xlrd.error_text_from_code[cell.value]
            elif cell.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
                cells[(r, c)] = float(cell.value)
            else:
                cells[(r, c)] = cell.value
        out[sheet.name] = cells
    return out


def xls_layout(path):
    """Per sheet: number format code and id per cell, merges, column widths
    (1/256 of a digit), print area."""
    book = xlrd.open_workbook(path, formatting_info=True)
    areas = {}
    for name in book.name_obj_list:
        if name.name.lower() == "print_area" and name.result is not None:
            ref = name.result.value[0]
            areas[name.scope] = (ref.rowxlo, ref.rowxhi - 1, ref.colxlo, ref.colxhi - 1)
    out = {}
    for index, sheet in enumerate(book.sheets()):
        formats = {}
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                xf = book.xf_list[sheet.cell_xf_index(r, c)]
                formats[(r, c)] = (xf.format_key, book.format_map[xf.format_key].format_str)
        out[sheet.name] = {
            "formats": formats,
            "merges": sorted((r0, r1 - 1, c0, c1 - 1) for r0, r1, c0, c1 in sheet.merged_cells),
            "widths": {c: info.width for c, info in sheet.colinfo_map.items()},
            "print_area": areas.get(index),
        }
    return out


def _cell_value(value):
    """openpyxl's value as xlrd gives it: dates and times as serial numbers."""
    if value is None or value == "":
        return None
    if isinstance(value, datetime.timedelta):
        return value.total_seconds() / 86400
    if isinstance(value, (datetime.datetime, datetime.date, datetime.time)):
        return float(to_excel(value))
    if isinstance(value, bool):
        return value
    if isinstance(value, (int, float)):
        return float(value)
    return value


def xlsx_view(path):
    """Per sheet, as python3-openpyxl reads the .xlsx: cached values, formula
    texts, number format codes, merges, widths (1/256 of a digit) and print
    area, all 0-based like xlrd's."""
    formulas_book = openpyxl.load_workbook(path)
    values_book = openpyxl.load_workbook(path, data_only=True)
    out = {}
    for ws in formulas_book.worksheets:
        cached = values_book[ws.title]
        values, formulas, formats = {}, {}, {}
        for row in ws.iter_rows():
            for cell in row:
                at = (cell.row - 1, cell.column - 1)
                formats[at] = cell.number_format
                if isinstance(cell.value, str) and cell.value.startswith("="):
                    formulas[at] = cell.value
                value = _cell_value(cached.cell(cell.row, cell.column).value)
                if value is not None:
                    values[at] = value
        widths = {}
        for dim in ws.column_dimensions.values():
            if dim.customWidth and dim.min:
                for c in range(dim.min, dim.max + 1):
                    widths[c - 1] = dim.width * 256
        area = None
        if ws.print_area:
            text = ws.print_area if isinstance(ws.print_area, str) else ws.print_area[0]
            m = re.search(r"\$?([A-Z]+)\$?(\d+):\$?([A-Z]+)\$?(\d+)$", text)
            col = openpyxl.utils.column_index_from_string
            area = (int(m.group(2)) - 1, int(m.group(4)) - 1, col(m.group(1)) - 1,
                    col(m.group(3)) - 1)
        out[ws.title] = {
            "values": values, "formulas": formulas, "formats": formats,
            "merges": sorted((r.min_row - 1, r.max_row - 1, r.min_col - 1, r.max_col - 1)
                             for r in ws.merged_cells.ranges),
            "widths": widths, "print_area": area,
        }
    return out


def same_value(a, b):
    if isinstance(a, float) and isinstance(b, float):
        return close(a, b)
    return a == b


def compare_values(what, want, got):
    """Both {(row, col): value}; returns the differences as texts."""
    problems = []
    for at in sorted(set(want) | set(got)):
        if at not in got or at not in want or not same_value(want[at], got[at]):
            problems.append("%s cell %s: %r, want %r" % (what, cell_name(*at), got.get(at),
                                                           want.get(at)))
    return problems[:20]


def same_format(xls_format, xlsx_code):
    """An .xls format (id, code) and an .xlsx code name the same format: the
    same code, or the built-in the id stands for."""
    key, code = xls_format
    return xlsx_code == code or (key < 164 and BUILTIN_FORMATS.get(key) == xlsx_code)


def compare_layout(what, xls, xlsx):
    """The .xls layout (xls_layout) against the .xlsx view of one sheet."""
    problems = []
    # openpyxl gives the covered cells of a merged range no style of their own.
    covered = {(r, c) for r0, r1, c0, c1 in xlsx["merges"] for r in range(r0, r1 + 1)
               for c in range(c0, c1 + 1) if (r, c) != (r0, c0)}
    for at, fmt in sorted(xls["formats"].items()):
        if at in xlsx["formats"] and at not in covered and not same_format(fmt, xlsx["formats"][at]):
            problems.append("%s cell %s: number format %r, want %r" % (
                what, cell_name(*at), xlsx["formats"][at], fmt[1]))
    if xls["merges"] != xlsx["merges"]:
        problems.append("%s: merges %r, want %r" % (what, xlsx["merges"], xls["merges"]))
    for col, width in xls["widths"].items():
        # The .xlsx width is rounded to whole pixels of a 7-pixel digit.
        if col in xlsx["widths"] and abs(xlsx["widths"][col] - width) > 256 / 7 + 1:
            problems.append("%s column %d: width %.0f, want %d" % (what, col, xlsx["widths"][col],
                                                                   width))
    missing = set(xls["widths"]) - set(xlsx["widths"])
    if missing:
        problems.append("%s: no width for columns %r" % (what, sorted(missing)[:10]))
    if xls["print_area"] != xlsx["print_area"]:
        problems.append("%s: print area %r, want %r" % (what, xlsx["print_area"], xls["print_area"]))
    return problems[:20]


def cell_name(row, col):
    name, col = "", col + 1
    while col:
        col, rest = divmod(col - 1, 26)
        name = chr(65 + rest) + name
    return "%s%d" % (name, row + 1)
