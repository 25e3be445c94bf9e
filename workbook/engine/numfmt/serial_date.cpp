#include "workbook/engine/numfmt/serial_date.h"

namespace tallowby::engine {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

const int64_t kEpoch1899Dec30 = daysFromCivil(1899, 12, 30);
const int64_t kEpoch1904Jan1 = daysFromCivil(1904, 1, 1);

}  // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && isLeapYear(year)) return 29;
    return kDays[month - 1];
}

std::optional<CivilDate> dateFromSerial(int64_t serialDay, bool date1904) {
    if (serialDay < 0 || serialDay > static_cast<int64_t>(kMaxDateSerial)) return std::nullopt;
    if (date1904) return civilFromDays(kEpoch1904Jan1 + serialDay);
    // The 1900 system counts a 29 February 1900 that never was, and starts at
    // "January 0".
    if (serialDay == 0) return CivilDate{1900, 1, 0};
    if (serialDay == 60) return CivilDate{1900, 2, 29};
    if (serialDay < 60) return civilFromDays(kEpoch1899Dec30 + serialDay + 1);
    return civilFromDays(kEpoch1899Dec30 + serialDay);
}

int weekdayFromSerial(int64_t serialDay, bool date1904) {
    // 1904-01-01 was a Friday; in the 1900 system serial 1 counts as a Sunday.
    const int64_t shifted = date1904 ? serialDay + 5 : serialDay + 6;
    return static_cast<int>(((shifted % 7) + 7) % 7);
}

std::optional<int64_t> serialFromDate(int year, int month, int day, bool date1904) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    if (!date1904 && year == 1900 && month == 2 && day == 29) return 60;
    if (day > daysInMonth(year, month)) return std::nullopt;
    const int64_t days = daysFromCivil(year, month, day);
    if (date1904) {
        if (days < kEpoch1904Jan1) return std::nullopt;
        return days - kEpoch1904Jan1;
    }
    int64_t serial = days - kEpoch1899Dec30;
    if (serial < 61) serial -= 1;  // before the fictitious 29 February
    return serial;
}

}  // namespace tallowby::engine
