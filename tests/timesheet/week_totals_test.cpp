#include "timesheet/week_totals.h"

#include <gtest/gtest.h>

using namespace tallowby;

namespace {

std::optional<double> plainNumber(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

HoursEntry entry(const char* hours, const char* day, const char* rate) {
    return {"", "", hours, day, rate};
}

}  // namespace

TEST(WeekTotals, SumsCellsRowsDaysAndPay) {
    const std::vector<RateEntry> rates{
        {"Regular", "10"}, {"Overtime", "15.5"}, {"Unpaid", ""}, {"Odd", "abc"}};
    const std::vector<HoursEntry> hours{
        entry("10:30", "0", "0"), entry("15:45", "0", "0"),  // one cell, 26:15
        entry("02:00", "6", "1"), entry("01:30", "3", "2"), entry("00:45", "3", "3"),
        // No place on the sheet: left out of every total.
        entry("01:00", "7", "0"), entry("01:00", "0", "4"), entry("01:00", "-1", "0"),
        entry("x", "1", "0")};
    const week_totals::WeekTotals t = week_totals::compute(rates, hours, plainNumber);
    ASSERT_EQ(t.minutes.size(), 4u);
    EXPECT_EQ(t.minutes[0][0], 1575);
    EXPECT_EQ(t.minutes[1][6], 120);
    EXPECT_EQ(t.rateMinutes, (std::vector<int>{1575, 120, 90, 45}));
    EXPECT_EQ(t.dayMinutes[0], 1575);
    EXPECT_EQ(t.dayMinutes[3], 135);
    EXPECT_EQ(t.weekMinutes, 1575 + 120 + 90 + 45);
    EXPECT_EQ(t.unplaced, 4);
    EXPECT_DOUBLE_EQ(*t.ratePay[0], 26.25 * 10);
    EXPECT_DOUBLE_EQ(*t.ratePay[1], 2 * 15.5);
    EXPECT_FALSE(t.ratePay[2]);  // no rate
    EXPECT_FALSE(t.ratePay[3]);  // no number
    EXPECT_DOUBLE_EQ(t.totalPay, 262.5 + 31);
}

TEST(WeekTotals, EmptyListsGiveZeros) {
    const week_totals::WeekTotals t = week_totals::compute({}, {entry("01:00", "0", "0")}, {});
    EXPECT_TRUE(t.minutes.empty());
    EXPECT_EQ(t.weekMinutes, 0);
    EXPECT_EQ(t.unplaced, 1);
    EXPECT_EQ(t.totalPay, 0);
}
