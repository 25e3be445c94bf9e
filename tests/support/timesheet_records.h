#pragma once
// Timesheet records for tests, built from the texts a test cares about: the
// six general fields as one value, then the week start and both lists.
#include <QDate>
#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "timesheet/timesheet_record.h"

namespace tallowby::testing {

// The texts of the fields above the lists, in the order the window shows
// them: company, address, city, phone, employee, supervisor.
using GeneralFields = std::array<QString, 6>;

inline void setGeneralFields(TimesheetRecord& record, const GeneralFields& texts) {
    static constexpr QString TimesheetRecord::*kFields[] = {
        &TimesheetRecord::company, &TimesheetRecord::address,  &TimesheetRecord::city,
        &TimesheetRecord::phone,   &TimesheetRecord::employee, &TimesheetRecord::supervisor};
    for (size_t i = 0; i < texts.size(); ++i) record.*kFields[i] = texts[i];
}

inline TimesheetRecord timesheetRecord(const GeneralFields& fields, const QDate& weekStart,
                                       std::vector<RateEntry> rates,
                                       std::vector<HoursEntry> hours) {
    TimesheetRecord record;
    setGeneralFields(record, fields);
    record.weekStart = weekStart;
    record.rates = std::move(rates);
    record.hours = std::move(hours);
    return record;
}

}  // namespace tallowby::testing
