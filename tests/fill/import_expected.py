#!/usr/bin/python3
"""What a tracker's CSV export adds to the week, worked out with Python's own
csv module from what the test says about the file (its encoding, separator,
columns and their forms), never from Tallowby's reader.

Prints JSON: minutes per "day,rate" cell of the week and the rows imported."""
import argparse
import csv
import datetime
import io
import json


def minutes_of_clock(text):
    parts = [int(p) for p in text.split(":")]
    seconds = parts[2] if len(parts) == 3 else 0
    return parts[0] * 60 + parts[1] + (1 if seconds >= 30 else 0)


def time_of_day(text):
    text = text.strip().split(" ", 1)[1] if text.count(" ") and "-" in text else text.strip()
    for form in ("%H:%M", "%H:%M:%S", "%I:%M %p"):
        try:
            t = datetime.datetime.strptime(text, form)
            return t.hour * 60 + t.minute
        except ValueError:
            pass
    raise ValueError(text)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("path")
    ap.add_argument("--encoding", required=True)  # utf-8-sig, utf-16
    ap.add_argument("--delimiter", required=True)
    ap.add_argument("--week-start", required=True)
    ap.add_argument("--rates", required=True)  # comma-separated descriptions
    ap.add_argument("--date", required=True)  # column
    ap.add_argument("--date-format", required=True)  # strptime forms, "|" between
    ap.add_argument("--type", required=True)
    ap.add_argument("--hours")
    ap.add_argument("--hours-form", choices=["clock", "decimal", "decimal-comma"])
    ap.add_argument("--start")
    ap.add_argument("--end")
    a = ap.parse_args()

    with open(a.path, "rb") as f:
        text = f.read().decode(a.encoding)
    delimiter = "\t" if a.delimiter == "tab" else a.delimiter
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=delimiter))
    header = ["".join(h.split()).lower() for h in rows[0]]
    col = lambda name: header.index("".join(name.split()).lower())
    rates = [r.lower() for r in a.rates.split(",")]
    start = datetime.date.fromisoformat(a.week_start)
    cells, imported = {}, 0
    for row in rows[1:]:
        try:
            day = None
            for form in a.date_format.split("|"):
                try:
                    day = datetime.datetime.strptime(row[col(a.date)].strip(), form).date()
                    break
                except ValueError:
                    pass
            if day is None:
                continue
            if a.hours and row[col(a.hours)].strip():
                value = row[col(a.hours)].strip()
                if a.hours_form == "clock":
                    minutes = minutes_of_clock(value)
                else:
                    minutes = round(float(value.replace(",", ".")) * 60)
            elif a.start and a.end:
                begin, end = time_of_day(row[col(a.start)]), time_of_day(row[col(a.end)])
                minutes = end - begin if end >= begin else end + 1440 - begin
            else:
                continue
        except (ValueError, IndexError):
            continue
        offset = (day - start).days
        kind = row[col(a.type)].strip().lower()
        if not 0 <= offset <= 6 or kind not in rates:
            continue
        key = "%d,%d" % (offset, rates.index(kind))
        cells[key] = cells.get(key, 0) + minutes
        imported += 1
    print(json.dumps({"cells": cells, "imported": imported}))


main()
