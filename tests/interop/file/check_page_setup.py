#!/usr/bin/python3
"""Page setup records read and written back by the engine, checked with
python3-xlrd.

A workbook that python3-xlwt writes with a full page setup (header and footer
with &-codes, four margins, centring, A4 landscape at 80 %, fit to one page
wide, manual page breaks), and the timesheet template, each go through
file_roundtrip_tool. In the copy the page setup records must be byte for byte
those of the original, in the same order; xlrd opens the copy with
formatting_info and reads the page breaks, and its record reader, at the
sheet's place that xlrd found, gives the same margins.

Usage: check_page_setup.py ROUNDTRIP_TOOL TEMPLATE WORK_DIR
"""

import os
import struct
import subprocess
import sys

import xlrd
import xlwt

PAGE_SETUP = {0x14: "HEADER", 0x15: "FOOTER", 0x1A: "VERTICALPAGEBREAKS",
              0x1B: "HORIZONTALPAGEBREAKS", 0x26: "LEFTMARGIN", 0x27: "RIGHTMARGIN",
              0x28: "TOPMARGIN", 0x29: "BOTTOMMARGIN", 0x81: "WSBOOL", 0x83: "HCENTER",
              0x84: "VCENTER", 0xA1: "SETUP"}
MARGINS = {0x26: "left", 0x27: "right", 0x28: "top", 0x29: "bottom"}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def make_source(path):
    book = xlwt.Workbook()
    sheet = book.add_sheet("Week")
    for row in range(30):
        for col in range(6):
            sheet.write(row, col, row * 10 + col)
    sheet.header_str = b"&L&F&C&A&RPage &P of &N"
    sheet.footer_str = b"&D &T &&"
    sheet.left_margin, sheet.right_margin = 0.4, 0.6
    sheet.top_margin, sheet.bottom_margin = 0.7, 0.8
    sheet.print_centered_horz, sheet.print_centered_vert = 1, 0
    sheet.paper_size_code = 9
    sheet.portrait = 0
    sheet.print_scaling = 80
    sheet.fit_num_pages = 1
    sheet.fit_width_to_pages, sheet.fit_height_to_pages = 1, 0
    sheet.horz_page_breaks = [(10, 0, 255), (20, 0, 255)]
    sheet.vert_page_breaks = [(3, 0, 65535)]
    book.save(path)
    return {"left": 0.4, "right": 0.6, "top": 0.7, "bottom": 0.8}


def page_setup_records(path):
    """The first sheet's page setup records, with xlrd's own record reader,
    and the book xlrd opened with formatting_info."""
    book = xlrd.open_workbook(path, formatting_info=True, on_demand=True)
    sheet = book.sheet_by_index(0)
    book._position = book._sh_abs_posn[0]
    records = []
    depth = 0
    while True:
        code, _, data = book.get_record_parts()
        if code == 0x0809:
            depth += 1
        elif code == 0x000A:
            depth -= 1
            if depth == 0:
                break
        elif code in PAGE_SETUP and depth == 1:
            records.append((code, bytes(data)))
    return records, sheet


def margins_of(records):
    return {MARGINS[code]: struct.unpack("<d", data)[0]
            for code, data in records if code in MARGINS}


def roundtrip(tool, source, copy):
    subprocess.run([tool, source, copy], check=True)


def main():
    tool, template, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)

    source = os.path.join(work, "xlwt_page_setup.xls")
    copy = os.path.join(work, "xlwt_page_setup_copy.xls")
    margins = make_source(source)
    roundtrip(tool, source, copy)
    before, _ = page_setup_records(source)
    after, sheet = page_setup_records(copy)
    check(len(before) >= 12, f"xlwt wrote {len(before)} page setup records")
    check(before == after, "the page setup records changed:\n  "
          f"{[(PAGE_SETUP[c], d.hex()) for c, d in before]}\n  "
          f"{[(PAGE_SETUP[c], d.hex()) for c, d in after]}")
    check(margins_of(after) == margins, f"margins read back: {margins_of(after)}")
    check(sheet.horizontal_page_breaks == [(10, 0, 255), (20, 0, 255)],
          f"row breaks: {sheet.horizontal_page_breaks}")
    check(sheet.vertical_page_breaks == [(3, 0, 65535)],
          f"column breaks: {sheet.vertical_page_breaks}")
    check(sheet.cell_value(29, 5) == 295, "cells read back")

    template_copy = os.path.join(work, "template_copy.xlt")
    roundtrip(tool, template, template_copy)
    before, _ = page_setup_records(template)
    after, sheet = page_setup_records(template_copy)
    check(before == after, "the template's page setup records changed")
    check(margins_of(after) == {"left": 0.5, "right": 0.5, "top": 0.5, "bottom": 0.5},
          f"template margins: {margins_of(after)}")
    setup = dict(after).get(0xA1, b"")
    check(len(setup) == 34, "the template has a SETUP record")
    if len(setup) == 34:
        paper, _, _, fit_width, fit_height, flags = struct.unpack_from("<6H", setup)
        check((paper, fit_width, fit_height) == (1, 1, 0),
              f"template paper {paper}, fit {fit_width} x {fit_height}")
        check(flags & 0x02 and not flags & 0x04, f"template not portrait: flags {flags:#x}")
    check(dict(after).get(0x83) == b"\x01\x00", "template not centred across")
    check(struct.unpack("<H", dict(after).get(0x81, b"\0\0"))[0] & 0x0100,
          "template does not fit to pages")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
