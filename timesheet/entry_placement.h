#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "timesheet/template_layout.h"
#include "timesheet/timesheet_record.h"

namespace tallowby {

// One cell of the day rows and the entries that go into it, in list order:
// pointers into the list placed, which outlives the placement (a million
// entries are not copied).
struct PlacedCell {
    int row = 0;     // 1-based
    int column = 0;  // 1-based
    std::vector<const HoursEntry*> entries;
};

// Where the hours entries go: entries with the same day and rate share one
// cell; entries with no place on the sheet (a day index outside 0-6, a rate
// index without a rate column, an index that is not a whole number) or with
// hours that are not a duration are left out, in list order.
struct EntryPlacement {
    std::vector<PlacedCell> cells;  // in the order of their first entry
    std::vector<HoursEntry> leftOut;
};

// The whole number an index text holds, or nothing ("3", " -1 " yes; "", "2x", "1.5" no).
std::optional<int> indexNumber(const QString& text);

// True for hours the totals can count: "h:mm" with 0 to 9999 hours and two
// digits of minutes 0 to 59, spaces around allowed ("8:30", "0:05", "9999:59";
// not "8", "-1:00", "8:75", "99999:00", "abc" or "").
bool isDuration(const QString& hours);

EntryPlacement placeEntries(const std::vector<HoursEntry>& entries, int rateColumns);
// The cells point into the list: it must outlive the placement.
EntryPlacement placeEntries(std::vector<HoursEntry>&& entries, int rateColumns) = delete;

// The one message about left-out entries: how many, and each by its day,
// type and hours as the list shows them; long lists name the first
// `listedAtMost` and say how many more there are.
QString leftOutMessage(const std::vector<HoursEntry>& leftOut, int listedAtMost = 20);

}  // namespace tallowby
