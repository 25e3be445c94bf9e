#!/usr/bin/python3
"""Has tallowby-fill write timesheets as .xls and as .xlsx and checks the
.xlsx against the .xls: python3-openpyxl reads its formulas and cached
results, LibreOffice and Gnumeric recalculate it, and every reading shows
the values of the .xls cell for cell; number formats, merges, column widths
and the print area agree too. The totals are also checked against figures
computed here from the typed settings alone.

Usage: check_fill_xlsx.py <tallowby-fill> <work dir>"""
import os
import shutil
import subprocess
import sys

from xlsx_interop import (close, compare_layout, compare_values, fail, finish, gnumeric_to_xls,
                          libreoffice_convert, tampered_copy, xls_layout, xls_values, xlsx_view)

FILL, WORK = sys.argv[1:3]

RATES = [("Regular", "11.50"), ("Overtime", "12.70"), ("Illness", "6.50"), ("Vacation", "5.50"),
         ("Holiday", "14.58"), ("Unpaid", "0"), ("Other", "11")]


def pack(rows):
    return "|".join("^".join(fields) for fields in rows)


def settings_text(rates, hours, company="ACME Inc", employee="Arlen Tovey Jr."):
    return ("[Tallowby]\ntxtName=%s\ntxtLocation=Birchwood st\ntxtCity=French Leek, IN\n"
            "txtPhone=(988) 913-5480\ntxtEmp=%s\ntxtSVisor=Rolf Ambry\ndtpDate=2021-08-30\n"
            "Rates=%s\nHours=%s\nTabSel=1\n" % (company, employee, pack(rates), pack(hours)))


def expected_totals(rates, hours):
    """Hours per day row (12..18) summed over the rate columns, in hours, and
    the total pay: what the sheet's totals must show."""
    columns = max(len(rates), 7)
    day_hours = [0.0] * 7
    pay = 0.0
    for _, _, hhmm, day, rate in hours:
        d, t = int(day), int(rate)
        if not (0 <= d < 7 and 0 <= t < columns):
            continue
        h, m = hhmm.split(":")
        amount = int(h) + int(m) / 60
        day_hours[d] += amount
        pay += amount * (float(rates[t][1]) if t < len(rates) and rates[t][1] else 0.0)
    return day_hours, pay


def cases():
    seven = [("Mon", "Regular", "08:00", "0", "0"), ("Tue", "Overtime", "01:45", "1", "1"),
             ("Sun", "Holiday", "06:15", "6", "4"), ("Fri", "Other", "00:30", "4", "6")]
    fourteen_rates = [(n + " 2", r) for n, r in RATES] + RATES
    # Fourteen rates, entries for the same day and type repeated (summed in one cell).
    repeated = [("Mon", "Regular 2", "10:30", "0", "0"), ("Mon", "Regular 2", "15:45", "0", "0"),
                ("Wed", "Other", "02:00", "2", "13"), ("Wed", "Other", "03:15", "2", "13"),
                ("Wed", "Other", "00:45", "2", "13"), ("Sat", "Holiday", "04:00", "5", "11")]
    many = [("R%d" % i, "%d.25" % (i % 17)) for i in range(254)]
    many_hours = [("Mon", "R0", "01:00", "0", "0"), ("Thu", "R127", "02:30", "3", "127"),
                  ("Sun", "R253", "07:15", "6", "253")]
    text_rates = [("Überstunden 😀", "12.5"), ("残業", "9"), ("שעות נוספות", "7.75")] + RATES[3:]
    text_hours = [("Mon", "Überstunden 😀", "03:00", "0", "0"), ("Tue", "残業", "02:00", "1", "1"),
                  ("Wed", "שעות נוספות", "01:30", "2", "2")]
    return [
        ("seven", RATES, seven, {}),
        ("fourteen-repeated", fourteen_rates, repeated, {}),
        ("rates-254", many, many_hours, {}),
        ("text", text_rates, text_hours,
         {"company": "株式会社 🦊 Füchse", "employee": "דנה כהן (Dana)"}),
        ("no-hours", RATES, [], {}),
    ]


def totals_problems(name, reader, values, rates, hours):
    """The totals column of rows 12..19 and the total pay against the figures
    computed from the settings."""
    columns = max(len(rates), 7)
    total_col = 1 + columns  # 0-based: A is 0, rates from B
    day_hours, pay = expected_totals(rates, hours)
    problems = []
    for d in range(7):
        got = values.get((11 + d, total_col), 0.0) * 24
        if not close(got, day_hours[d]):
            problems.append("%s %s: day %d totals %r hours, want %r" % (name, reader, d, got,
                                                                         day_hours[d]))
    got_week = values.get((18, total_col), 0.0) * 24
    if not close(got_week, sum(day_hours)):
        problems.append("%s %s: week total %r hours, want %r" % (name, reader, got_week,
                                                                  sum(day_hours)))
    got_pay = values.get((20, total_col), 0.0)
    if abs(got_pay - pay) > 1e-6:
        problems.append("%s %s: total pay %r, want %r" % (name, reader, got_pay, pay))
    return problems


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    failures = []
    made = []
    for name, rates, hours, texts in cases():
        settings = os.path.join(WORK, name + ".ini")
        with open(settings, "w", encoding="utf-8") as f:
            f.write(settings_text(rates, hours, **texts))
        xls, xlsx = os.path.join(WORK, name + ".xls"), os.path.join(WORK, name + ".xlsx")
        done = subprocess.run([FILL, "--xls", xls, "--xlsx", xlsx, "--settings", settings],
                              capture_output=True, text=True, timeout=120)
        if done.returncode != 0:
            fail("%s: tallowby-fill failed (%d): %s" % (name, done.returncode, done.stderr))
        if "tallowby-fill" in done.stderr:
            failures.append("%s: the .xlsx left something out: %s" % (name, done.stderr))
        made.append((name, rates, hours, xls, xlsx))

    # The reader that does not recalculate sees the cached results; the
    # copies with wrong cached results show LibreOffice and Gnumeric do.
    tampered = []
    for name, _, _, _, xlsx in made:
        tampered.append(os.path.join(WORK, "tampered", name + ".xlsx"))
        os.makedirs(os.path.dirname(tampered[-1]), exist_ok=True)
        tampered_copy(xlsx, tampered[-1])
    by_libreoffice = libreoffice_convert(tampered, os.path.join(WORK, "lo"),
                                        os.path.join(WORK, "lo-profile"))

    for (name, rates, hours, xls, xlsx), lo in zip(made, by_libreoffice):
        want = xls_values(xls)
        layout = xls_layout(xls)
        view = xlsx_view(xlsx)
        if list(want) != list(view):
            failures.append("%s: sheets %r, want %r" % (name, list(view), list(want)))
            continue
        sheet = list(want)[0]
        # Every formula of the .xls is a formula in the .xlsx, with a cached result.
        if not view[sheet]["formulas"]:
            failures.append("%s: the .xlsx holds no formulas" % name)
        for at in view[sheet]["formulas"]:
            if at not in view[sheet]["values"] and at in want[sheet]:
                failures.append("%s: formula at %r has no cached result" % (name, at))
        gnumeric = gnumeric_to_xls(tampered[[m[0] for m in made].index(name)],
                                   os.path.join(WORK, name + "-gnumeric.xls"))
        readings = [("openpyxl", view[sheet]["values"]),
                    ("LibreOffice", xls_values(lo)[sheet]),
                    ("Gnumeric", xls_values(gnumeric)[sheet])]
        failures += totals_problems(name, "tallowby .xls", want[sheet], rates, hours)
        for reader, values in readings:
            failures += compare_values("%s %s" % (name, reader), want[sheet], values)
            failures += totals_problems(name, reader, values, rates, hours)
        failures += compare_layout(name, layout[sheet], view[sheet])
        print("%-18s %3d cells, %2d formulas, %2d merges: openpyxl, LibreOffice, Gnumeric "
              "agree with the .xls" % (name, len(want[sheet]), len(view[sheet]["formulas"]),
                                       len(view[sheet]["merges"])))
    finish(failures, WORK, "all .xlsx files agree")


main()
