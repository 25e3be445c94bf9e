#pragma once

#include <QDate>
#include <QString>
#include <vector>

namespace tallowby {

// The hour-rate list of a timesheet nobody has typed rates into yet.
inline constexpr const char* kDefaultRateDescriptions[] = {
    "Regular", "Overtime", "Illness", "Vacation", "Holiday", "Unpaid", "Other"};

// One row of the hour-rate list; its position in `TimesheetRecord::rates` is
// its rate index.
struct RateEntry {
    QString description;
    QString rate;  // as typed, never converted
};

// One row of the employee-hours list, all held as text.
struct HoursEntry {
    QString day;        // the Day choice's text when the row was added
    QString rateType;   // the Type choice's text when the row was added
    QString hours;      // "hh:mm"
    QString dayIndex;   // day index 0..6, or "-1"
    QString rateIndex;  // rate index, or "-1"
};

// What the generation run reads from the entry window when it starts.
struct TimesheetRecord {
    QString company;
    QString address;
    QString city;
    QString phone;
    QString employee;
    QString supervisor;
    QDate weekStart;
    std::vector<RateEntry> rates;
    std::vector<HoursEntry> hours;
};

}  // namespace tallowby
