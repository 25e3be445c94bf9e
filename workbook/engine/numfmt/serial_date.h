#pragma once

#include <cstdint>
#include <optional>

namespace tallowby::engine {

// A calendar date as a spreadsheet shows it. Day 0 of January 1900 and
// 29 February 1900 exist only in the 1900 date system.
struct CivilDate {
    int year = 1900;
    int month = 1;  // 1..12
    int day = 0;    // 0..31
};

// Largest serial a date format shows (9999-12-31 in the 1900 system).
inline constexpr double kMaxDateSerial = 2958465.0;

// The date of a whole serial day number, or nothing when it is out of range.
std::optional<CivilDate> dateFromSerial(int64_t serialDay, bool date1904);

// Day of the week, 0 = Sunday, as the 1900 system counts it (so that serial 1,
// 1 January 1900, is a Sunday).
int weekdayFromSerial(int64_t serialDay, bool date1904);

// The serial day number of a date, or nothing when the date does not exist or
// lies before the first day of the date system.
std::optional<int64_t> serialFromDate(int year, int month, int day, bool date1904 = false);

bool isLeapYear(int year);
int daysInMonth(int year, int month);

}  // namespace tallowby::engine
