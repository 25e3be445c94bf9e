#include "timesheet/rejected_rates.h"

#include <gtest/gtest.h>

#include <limits>

namespace tallowby {
namespace {

TEST(RejectedRates, OnlyEmptyRatesAndNumbersThePayCanUseAreWritten) {
    EXPECT_FALSE(rateRefusal("", std::nullopt));
    EXPECT_FALSE(rateRefusal("11.50", 11.5));
    EXPECT_FALSE(rateRefusal("-3", -3.0));
    EXPECT_FALSE(rateRefusal("1e300", 1e300));
    EXPECT_EQ(rateRefusal("abc", std::nullopt), "not a number");
    EXPECT_EQ(rateRefusal("1e308", 1e308), "too large to compute pay with");
    EXPECT_EQ(rateRefusal("-1e308", -1e308), "too large to compute pay with");
    EXPECT_EQ(rateRefusal("x", std::numeric_limits<double>::infinity()),
              "too large to compute pay with");
    EXPECT_EQ(rateRefusal("x", std::numeric_limits<double>::quiet_NaN()),
              "too large to compute pay with");
}

TEST(RejectedRates, OneMessageNamesEachRateWithItsDescriptionCut) {
    EXPECT_TRUE(rejectedRatesMessage({}).isEmpty());
    const QString one = rejectedRatesMessage({{{"Regular", "abc"}, "not a number"}});
    EXPECT_EQ(one,
              "1 hour rate was not written, so its pay shows 0.00:\n"
              "\"abc\" of \"Regular\": not a number");
    std::vector<RejectedRate> many;
    for (int i = 0; i < 22; ++i)
        many.push_back({{QString(90, 'r'), QString::number(i) + "x"}, "not a number"});
    const QString text = rejectedRatesMessage(many);
    EXPECT_TRUE(text.startsWith("22 hour rates were not written, so their pay shows 0.00:\n"));
    EXPECT_TRUE(text.contains("\"19x\" of \"" + QString(80, 'r') + QChar(0x2026) + "\""));
    EXPECT_FALSE(text.contains("\"20x\""));
    EXPECT_TRUE(text.endsWith("\n... and 2 more."));
}

}  // namespace
}  // namespace tallowby
