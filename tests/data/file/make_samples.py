#!/usr/bin/python3
"""Writes the sources of the sample workbooks the file-layer tests read.

Run by make_samples.sh: this script writes sample_source.fods (converted by
LibreOffice and by Gnumeric) and xlwt_sample.xls (written by python3-xlwt)."""
import sys
from xml.sax.saxutils import escape

import xlwt


def unique_strings():
    # Enough distinct strings to push the shared string table past one record,
    # some of them needing 16-bit characters, some long.
    words = []
    for i in range(1500):
        if i % 7 == 0:
            words.append("Stra\u00dfe %d \u2013 \u6771\u4eac \u0394\u03b5\u03bb\u03c4\u03b1" % i)
        elif i % 50 == 0:
            words.append("Long note %d: " % i + "lorem ipsum dolor sit amet " * 12)
        else:
            words.append("Item %04d" % i)
    return words


def write_fods(path):
    words = unique_strings()
    cell = lambda text, style="": (
        '<table:table-cell office:value-type="string"%s><text:p>%s</text:p></table:table-cell>'
        % (' table:style-name="%s"' % style if style else "", escape(text)))
    num = lambda v, style="": (
        '<table:table-cell office:value-type="float" office:value="%s"%s/>'
        % (v, ' table:style-name="%s"' % style if style else ""))
    formula = lambda f, style="": (
        '<table:table-cell table:formula="of:%s"%s/>'
        % (escape(f, {"\"": "&quot;"}), ' table:style-name="%s"' % style if style else ""))
    rows = []
    rows.append('<table:table-row table:style-name="tall">'
                '<table:table-cell table:style-name="title" office:value-type="string" '
                'table:number-columns-spanned="4" table:number-rows-spanned="1">'
                '<text:p>Quarterly figures \u2013 Z\u00fcrich</text:p></table:table-cell>'
                '<table:covered-table-cell table:number-columns-repeated="3"/></table:table-row>')
    rows.append('<table:table-row>' + cell("Name", "head") + cell("Qty", "head") + cell("Price", "head")
                + cell("Total", "head") + cell("Share", "head") + cell("Hours", "head") + '</table:table-row>')
    for r in range(3, 23):
        rows.append('<table:table-row>' + cell(words[r]) + num(r * 3) + num(r + 0.25, "money")
                    + formula("[.B%d]*[.C%d]" % (r, r), "money") + num(r / 40.0, "pct")
                    + num(r / 24.0 + 1.5, "hours") + '</table:table-row>')
    rows.append('<table:table-row>' + cell("Sum", "head") + formula("SUM([.B3:.B22])")
                + '<table:table-cell/>' + formula("SUM([.D3:.D22])", "money")
                + '<table:table-cell/>' + formula("SUM([.F3:.F22])", "hours") + '</table:table-row>')
    rows.append('<table:table-row>' + cell("Flags") + '<table:table-cell office:value-type="boolean" '
                'office:boolean-value="true"/>' + formula("1/0") + formula('"x"&"y"')
                + num(-123456.789) + num(0.1) + '</table:table-row>')
    rows.append('<table:table-row>' + cell("Date", "head")
                + '<table:table-cell table:style-name="date" office:value-type="date" '
                'office:date-value="2021-08-30"/>' + '</table:table-row>')
    rows.append('<table:table-row><table:table-cell table:number-columns-repeated="9"/>'
                + cell("far right J") + '</table:table-row>')
    data = ('<table:table table:name="Data" table:print-ranges="Data.A1:Data.F30">'
            '<table:table-column table:style-name="wide"/>'
            '<table:table-column table:number-columns-repeated="9"/>'
            '<table:table-column/>' + "".join(rows) + '</table:table>')
    srows = []
    for i in range(0, len(words), 3):
        srows.append('<table:table-row>' + "".join(cell(w) for w in words[i:i + 3]) + '</table:table-row>')
    strings = '<table:table table:name="Strings \u00e9t\u00e9">' + "".join(srows) + '</table:table>'
    empty = '<table:table table:name="Empty"><table:table-row><table:table-cell/></table:table-row></table:table>'
    doc = '''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
 <number:number-style style:name="N_money"><number:number number:decimal-places="2" number:min-integer-digits="1" number:grouping="true"/><number:text> kg</number:text></number:number-style>
 <number:percentage-style style:name="N_pct"><number:number number:decimal-places="1" number:min-integer-digits="1"/><number:text>%</number:text></number:percentage-style>
 <number:time-style style:name="N_hours" number:truncate-on-overflow="false"><number:hours/><number:text>:</number:text><number:minutes number:style="long"/></number:time-style>
 <number:date-style style:name="N_date"><number:day-of-week/><number:text> </number:text><number:month/><number:text>/</number:text><number:day/></number:date-style>
 <style:style style:name="wide" style:family="table-column"><style:table-column-properties style:column-width="1.6in"/></style:style>
 <style:style style:name="tall" style:family="table-row"><style:table-row-properties style:row-height="0.4in" style:use-optimal-row-height="false"/></style:style>
 <style:style style:name="title" style:family="table-cell"><style:table-cell-properties fo:background-color="#dde8f4" fo:border-bottom="0.74pt solid #000000"/><style:paragraph-properties fo:text-align="center"/><style:text-properties fo:font-size="14pt" fo:font-weight="bold"/></style:style>
 <style:style style:name="head" style:family="table-cell"><style:table-cell-properties fo:wrap-option="wrap" fo:border="0.74pt solid #000000" fo:background-color="#eeeeee"/><style:text-properties fo:font-weight="bold" fo:font-style="italic"/></style:style>
 <style:style style:name="money" style:family="table-cell" style:data-style-name="N_money"/>
 <style:style style:name="pct" style:family="table-cell" style:data-style-name="N_pct"/>
 <style:style style:name="hours" style:family="table-cell" style:data-style-name="N_hours"/>
 <style:style style:name="date" style:family="table-cell" style:data-style-name="N_date"/>
</office:automatic-styles>
<office:body><office:spreadsheet>''' + data + strings + empty + '''</office:spreadsheet></office:body></office:document>
'''
    with open(path, "w", encoding="utf-8") as f:
        f.write(doc)


def write_xlwt(path):
    words = unique_strings()
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Numbers")
    bold = xlwt.easyxf("font: bold on, height 240; align: horiz center, wrap on; "
                       "borders: bottom thin; pattern: pattern solid, fore_colour light_yellow")
    money = xlwt.easyxf(num_format_str='#,##0.00 "EUR";[Red]-#,##0.00 "EUR"')
    hours = xlwt.easyxf(num_format_str="[h]:mm")
    sheet.write_merge(0, 0, 0, 3, "Numbers from xlwt \u2013 \u00fc\u00e9", bold)
    for r in range(1, 40):
        sheet.write(r, 0, r)                     # small integers
        sheet.write(r, 1, r * 1.5, money)        # decimals
        sheet.write(r, 2, r / 96.0, hours)       # times
        sheet.write(r, 3, xlwt.Formula("A%d*B%d" % (r + 1, r + 1)), money)
        sheet.write(r, 11, -r * 1000000.125)
    sheet.write(41, 0, True)
    sheet.write(41, 1, xlwt.Formula("SUM(A2:A40)"))
    sheet.write(41, 2, xlwt.Formula('"a"&"b"'))
    sheet.col(0).width = 4000
    sheet.row(0).height_mismatch = True
    sheet.row(0).height = 500
    strings = book.add_sheet("Strings")
    for i, w in enumerate(words):
        strings.write(i // 4, i % 4, w)
    book.save(path)


if __name__ == "__main__":
    write_fods(sys.argv[1])
    write_xlwt(sys.argv[2])
