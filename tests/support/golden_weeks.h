#pragma once
// The weeks whose workbook and picture are kept as golden files
// (tests/data/golden) and timed by the benchmarks: fixed dates and texts, so
// what the generation run makes of them never depends on the day it runs.
#include <QDate>
#include <QString>
#include <cmath>

#include "workbook/run/timesheet_record.h"

namespace tallowby::testing::golden_weeks {

// The entry pattern of the sample data: day d gets an entry of type t when
// t / (d + 1), rounded half to even, is a multiple of 3.
inline bool sampleWantsEntry(int day, int type) {
    return static_cast<long long>(std::nearbyint(static_cast<double>(type) / (day + 1))) % 3 == 0;
}

inline TimesheetRecord withGeneralFields() {
    TimesheetRecord r;
    r.company = QStringLiteral("ACME Inc");
    r.address = QStringLiteral("Birchwood st");
    r.city = QStringLiteral("French Leek, IN");
    r.phone = QStringLiteral("(988) 913-5480");
    r.employee = QStringLiteral("Arlen Tovey Jr.");
    r.supervisor = QStringLiteral("Rolf Ambry");
    r.weekStart = QDate(2021, 8, 30);
    return r;
}

// What "Load Sample/Example Data" gives on a fresh start: the seven default
// rate types without rates, the seven sample ones after them, and two hours
// for every (day, type) of the pattern.
inline TimesheetRecord sampleWeek() {
    TimesheetRecord r = withGeneralFields();
    for (const char* description : kDefaultRateDescriptions)
        r.rates.push_back({QString::fromLatin1(description), QString()});
    r.rates.insert(r.rates.end(), {{"Regular", "11.50"},
                                   {"Overtime", "12.70"},
                                   {"Illness", "6.50"},
                                   {"Vacation", "5.50"},
                                   {"Holiday", "14.58"},
                                   {"Unpaid", "0"},
                                   {"Other", "11"}});
    const int types = static_cast<int>(r.rates.size());
    for (int d = 0; d < 7; ++d)
        for (int t = 0; t < types; ++t)
            if (sampleWantsEntry(d, t))
                r.hours.push_back({QStringLiteral("Day %1").arg(d), r.rates[t].description,
                                   QStringLiteral("02:00"), QString::number(d),
                                   QString::number(t)});
    return r;
}

// N rate types, one two-hour entry for each on a day of its own turn: from
// seven (the template's columns) to many columns inserted and filled.
inline TimesheetRecord weekWithRates(int rates) {
    TimesheetRecord r = withGeneralFields();
    for (int i = 0; i < rates; ++i) {
        r.rates.push_back({QStringLiteral("Rate %1").arg(i), QString::number(10 + i % 9)});
        r.hours.push_back({QString(), QString(), QStringLiteral("02:00"), QString::number(i % 7),
                           QString::number(i)});
    }
    return r;
}

}  // namespace tallowby::testing::golden_weeks
