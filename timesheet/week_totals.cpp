#include "timesheet/week_totals.h"

#include "timesheet/duration_text.h"

namespace tallowby::week_totals {

int indexOf(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

WeekTotals compute(const std::vector<RateEntry>& rates, const std::vector<HoursEntry>& hours,
                   const RateReader& readRate) {
    WeekTotals t;
    const size_t rateCount = rates.size();
    t.minutes.assign(rateCount, {});
    t.rateMinutes.assign(rateCount, 0);
    t.ratePay.assign(rateCount, std::nullopt);
    for (const HoursEntry& entry : hours) {
        const int day = indexOf(entry.dayIndex);
        const int rate = indexOf(entry.rateIndex);
        const std::optional<int> minutes = duration_text::fromStored(entry.hours);
        if (day < 0 || day >= kDays || rate < 0 || static_cast<size_t>(rate) >= rateCount ||
            !minutes) {
            ++t.unplaced;
            continue;
        }
        const auto r = static_cast<size_t>(rate);
        const auto d = static_cast<size_t>(day);
        t.minutes[r][d] += *minutes;
        t.rateMinutes[r] += *minutes;
        t.dayMinutes[d] += *minutes;
        t.weekMinutes += *minutes;
    }
    for (size_t r = 0; r < rateCount; ++r) {
        if (rates[r].rate.trimmed().isEmpty()) continue;
        const std::optional<double> perHour = readRate ? readRate(rates[r].rate) : std::nullopt;
        if (!perHour) continue;
        const double pay = t.rateMinutes[r] / 60.0 * *perHour;
        t.ratePay[r] = pay;
        t.totalPay += pay;
    }
    return t;
}

}  // namespace tallowby::week_totals
