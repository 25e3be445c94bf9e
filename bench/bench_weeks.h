#pragma once
// The weeks the benchmarks time: one employee and the seven usual rate types,
// with hours added by each benchmark.
#include <QDate>

#include "timesheet/timesheet_record.h"

namespace bench_weeks {

inline tallowby::TimesheetRecord sevenRatesNoHours() {
    return {.company = "Quillfeather Joinery Ltd",
            .address = "12 Mill Lane",
            .city = "Springfield",
            .phone = "555-0100",
            .employee = "Ana Example",
            .supervisor = "Bo Overseer",
            .weekStart = QDate(2021, 8, 30),
            .rates = {{"Regular", "11.50"},
                      {"Overtime", "12.70"},
                      {"Illness", "6.50"},
                      {"Vacation", "5.50"},
                      {"Holiday", "14.58"},
                      {"Unpaid", "0"},
                      {"Other", "11"}},
            .hours = {}};
}

// The seven rates with a working week: 8 hours Monday to Friday, 3:30 at the
// weekend, spread over the first three rate types.
inline tallowby::TimesheetRecord filledWeek() {
    tallowby::TimesheetRecord r = sevenRatesNoHours();
    for (int d = 0; d < 7; ++d)
        r.hours.push_back(
            {"", "", d < 5 ? "08:00" : "03:30", QString::number(d), QString::number(d % 3)});
    return r;
}

}  // namespace bench_weeks
