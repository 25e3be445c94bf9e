#!/usr/bin/python3
"""Runs tallowby-fill on timesheets kept in settings files, has LibreOffice and
Gnumeric recalculate the workbooks it writes, and compares the hours per rate
column, the pay per column and the total pay with figures computed here from
the typed data alone."""
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd

FILL = sys.argv[1]
WORK = tempfile.mkdtemp(prefix="tallowby-e2e-")

SAMPLE_RATES = [("Regular", "11.50"), ("Overtime", "12.70"), ("Illness", "6.50"),
                ("Vacation", "5.50"), ("Holiday", "14.58"), ("Unpaid", "0"), ("Other", "11")]
DEFAULT_RATES = [(name, "") for name, _ in SAMPLE_RATES]


def sample_hours(type_count):
    """The sample-data pattern: two hours wherever round(t / (d + 1)) is a multiple of 3."""
    entries = []
    for d in range(7):
        for t in range(type_count):
            if round(t / (d + 1)) % 3 == 0:  # Python rounds halves to even, as required
                entries.append(("day %d" % d, "type %d" % t, "02:00", str(d), str(t)))
    return entries


def pack(rows):
    return "|".join("^".join(fields) for fields in rows)


def write_settings(path, rates, hours):
    with open(path, "w", encoding="utf-8") as f:
        f.write("[Tallowby]\n")
        f.write("txtName=ACME Inc\ntxtLocation=Birchwood st\ntxtCity=French Leek, IN\n")
        f.write("txtPhone=(988) 913-5480\ntxtEmp=Arlen Tovey Jr.\ntxtSVisor=Rolf Ambry\n")
        f.write("dtpDate=2021-08-30\n")
        f.write("Rates=%s\nHours=%s\nTabSel=1\n" % (pack(rates), pack(hours)))


def whole_number(text):
    """The whole number an index text holds, or None ("3", " -1 " yes; "", "2x" no)."""
    try:
        return int(text.strip())
    except ValueError:
        return None


def rate_columns(rates):
    return max(len(rates), 7)


def expected_figures(rates, hours):
    """Hours (in hours) per rate column and in the totals column, pay per rate
    column, total pay, and the entries that have no place on the sheet."""
    columns = rate_columns(rates)
    grid = {}  # (row, col) -> hours summed there, 1-based
    left_out = []
    for entry in hours:
        _, _, hhmm, day_text, rate_text = entry
        day, rate = whole_number(day_text), whole_number(rate_text)
        if day is None or rate is None or not 0 <= day < 7 or not 0 <= rate < columns:
            left_out.append(entry)
            continue
        h, m = hhmm.split(":")
        key = (12 + day, 2 + rate)
        grid[key] = grid.get(key, 0.0) + int(h) + int(m) / 60
    rate_of = {2 + i: (float(rate) if rate.strip() else 0.0) for i, (_, rate) in enumerate(rates)}
    col_hours = {col: sum(grid.get((r, col), 0.0) for r in range(12, 19))
                 for col in range(2, 2 + columns)}
    col_hours[2 + columns] = sum(col_hours.values())
    pay = {col: rate_of.get(col, 0.0) * col_hours[col] for col in range(2, 2 + columns)}
    return col_hours, pay, sum(pay.values()), left_out


def read_figures(path, columns):
    sheet = xlrd.open_workbook(path).sheet_by_index(0)

    def num(row, col):
        value = sheet.cell_value(row - 1, col - 1)
        return float(value) if value != "" else 0.0
    totals = 2 + columns
    col_hours = {col: num(19, col) * 24 for col in range(2, totals + 1)}
    pay = {col: num(21, col) for col in range(2, totals)}
    return col_hours, pay, num(21, totals), num(23, 4) * 24, num(24, 4)


def column_name(col):
    name = ""
    while col:
        col, rest = divmod(col - 1, 26)
        name = chr(65 + rest) + name
    return name


def recalculated_by_libreoffice(src):
    out_dir = os.path.join(WORK, "lo")
    profile = "file://" + os.path.join(WORK, "lo-profile")
    subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless",
                    "--convert-to", "xls:MS Excel 97", "--outdir", out_dir, src],
                   check=True, capture_output=True, timeout=300)
    return os.path.join(out_dir, os.path.basename(src))


def recalculated_by_gnumeric(src):
    out = os.path.join(WORK, "gnumeric-" + os.path.basename(src))
    subprocess.run(["ssconvert", "--recalc", src, out], check=True, capture_output=True,
                   timeout=300)
    return out


def close(a, b):
    return abs(a - b) < 1e-6


def check_case(name, rates, hours):
    settings = os.path.join(WORK, name + ".ini")
    xls = os.path.join(WORK, name + ".xls")
    write_settings(settings, rates, hours)
    done = subprocess.run([FILL, "--xls", xls, "--settings", settings], capture_output=True,
                          text=True, timeout=120)
    if done.returncode != 0:
        raise SystemExit("%s: tallowby-fill failed (%d): %s" % (name, done.returncode, done.stderr))
    want_hours, want_pay, want_total, left_out = expected_figures(rates, hours)
    failures = []
    # Entries without a place are named once on standard error, and only then.
    if left_out:
        said = "%d hours entr%s" % (len(left_out), "y was" if len(left_out) == 1 else "ies were")
        if done.stderr.count("left out") != 1 or said not in done.stderr:
            failures.append("%s: stderr does not say '%s' once: %r" % (name, said, done.stderr))
        for day, kind, hhmm, _, _ in left_out:
            if "%s, %s, %s" % (day or "(none)", kind or "(none)", hhmm) not in done.stderr:
                failures.append("%s: stderr does not name %r" % (name, (day, kind, hhmm)))
    elif "left out" in done.stderr:
        failures.append("%s: nothing was left out, yet stderr says %r" % (name, done.stderr))
    columns = rate_columns(rates)
    totals = 2 + columns
    for reader, path in (("tallowby", xls), ("LibreOffice", recalculated_by_libreoffice(xls)),
                         ("Gnumeric", recalculated_by_gnumeric(xls))):
        got_hours, got_pay, got_total, got_d23, got_d24 = read_figures(path, columns)
        # Hours in every rate column and the total column, pay in the rate columns.
        for what, got, want, last in (("hours", got_hours, want_hours, totals),
                                      ("pay", got_pay, want_pay, totals - 1)):
            for col in range(2, last + 1):
                if not close(got[col], want[col]):
                    failures.append("%s %s: %s in column %s: %r, want %r" % (
                        name, reader, what, column_name(col), got[col], want[col]))
        if not close(got_total, want_total) or not close(got_d24, want_total):
            failures.append("%s %s: total pay %r / %r, want %r" % (
                name, reader, got_total, got_d24, want_total))
        if not close(got_d23, want_hours[totals]):
            failures.append("%s %s: hours reported %r, want %r" % (
                name, reader, got_d23, want_hours[totals]))
        print("%-14s %-11s total hours %.2f  total pay %.2f" % (name, reader, got_d23, got_total))
    return failures


def main():
    failures = []
    # The sample data pressed once after a fresh start: the seven default
    # rates (no rate), then the seven sample rates, and the 34 entries: 68
    # hours in 14 rate columns, 186.72 of pay.
    fresh = DEFAULT_RATES + SAMPLE_RATES
    assert len(sample_hours(len(fresh))) == 34
    hours_fresh, _, pay_fresh, _ = expected_figures(fresh, sample_hours(len(fresh)))
    assert close(hours_fresh[16], 68) and close(pay_fresh, 186.72), (hours_fresh[16], pay_fresh)
    failures += check_case("sample", fresh, sample_hours(len(fresh)))
    # Sample rates first, so pay is not zero.
    failures += check_case("sample-paid", SAMPLE_RATES, sample_hours(len(SAMPLE_RATES)))
    # Nine rates, and hours with minutes.
    extra = SAMPLE_RATES + [("Night", "15.25"), ("Weekend", "18")]
    odd_hours = [
        # The same day and rate twice: summed. Then the eighth rate's column.
        ("Mon", "Regular", "08:00", "0", "0"), ("Mon", "Regular", "07:30", "0", "0"),
        ("Tue", "Overtime", "01:45", "1", "1"), ("Wed", "Night", "03:00", "2", "7"),
        # No place: -1 indexes.
        ("?", "Regular", "04:00", "-1", "0"), ("Thu", "?", "05:00", "3", "-1"),
        # Hours with minutes in further columns.
        ("Sun", "Holiday", "06:15", "6", "4"), ("Fri", "Other", "00:30", "4", "6"),
        # The ninth rate twice on one day: summed past 24 hours.
        ("Wed", "Weekend", "10:30", "2", "8"), ("Wed", "Weekend", "15:45", "2", "8"),
        # No place: a day past the week, a rate index past the list, an index
        # that is no number.
        ("Nextweek", "Regular", "01:00", "7", "0"), ("Sat", "Gone", "02:00", "5", "9"),
        ("Sat", "", "02:30", "5", "x"),
    ]
    failures += check_case("odd", extra, odd_hours)
    shutil.rmtree(WORK, ignore_errors=True)
    if failures:
        print("\n".join(failures))
        raise SystemExit(1)
    print("all figures agree")


main()
