#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "timesheet/timesheet_record.h"

namespace tallowby {

// The largest rate the pay formulas can use: a rate times the most hours a
// week's columns can hold stays far below the largest number a cell holds,
// so no pay or total turns into an error value.
inline constexpr double kLargestRate = 1e300;

// Why a typed rate cannot be written, or nothing when it can: an empty rate
// is written (its pay is 0.00); `number` is what the rate reads as when typed
// into its cell, nothing when it reads as text or a truth value.
std::optional<QString> rateRefusal(const QString& rate, std::optional<double> number);

struct RejectedRate {
    RateEntry entry;
    QString reason;  // from rateRefusal()
};

// The one report about rates that were not written, each quoted with its
// description and why; long lists name the first `listedAtMost`.
QString rejectedRatesMessage(const std::vector<RejectedRate>& rejected, int listedAtMost = 20);

}  // namespace tallowby
