#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "timesheet/timesheet_record.h"

// The week at a glance: the hours of every day and rate type, their totals
// and the pay, worked out from the two lists as the sheet will.
namespace tallowby::week_totals {

inline constexpr int kDays = 7;

// A rate's text as a number, as the user's locale reads typed input, or
// nothing when it is no number.
using RateReader = std::function<std::optional<double>(const QString& rate)>;

struct WeekTotals {
    // minutes[rate index][day index], every entry of that cell summed.
    std::vector<std::array<int, kDays>> minutes;
    std::vector<int> rateMinutes;         // per rate type, the whole week
    std::array<int, kDays> dayMinutes{};  // per day, every type
    int weekMinutes = 0;
    // Per rate type: hours × rate; nothing when the rate is empty or no number.
    std::vector<std::optional<double>> ratePay;
    double totalPay = 0;
    // Entries left out: no day or type in range, or hours that are no "hh:mm".
    int unplaced = 0;
};

// An index column's text as a number; -1 for anything that is none.
int indexOf(const QString& text);

WeekTotals compute(const std::vector<RateEntry>& rates, const std::vector<HoursEntry>& hours,
                   const RateReader& readRate);

}  // namespace tallowby::week_totals
