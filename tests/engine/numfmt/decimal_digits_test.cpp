#include "workbook/engine/numfmt/decimal_digits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace tallowby::engine {
namespace {

// The 15 significant digits as the C library's "%.14e" gives them, trailing
// zeros dropped: what every number format starts from.
DecimalDigits fromPrintf(double magnitude) {
    DecimalDigits d;
    magnitude = std::fabs(magnitude);
    if (!(magnitude > 0) || !std::isfinite(magnitude)) return d;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    d.digits = std::string(1, buffer[0]) + std::string(buffer + 2, 14);
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    d.pointPos = std::atoi(buffer + 17) + 1;
    return d;
}

TEST(DecimalDigits, AreTheCLibrarysFifteenDigitsForEveryKindOfNumber) {
    std::vector<double> numbers = {1.005,
                                   0.1,
                                   0.5,
                                   9.999999999999995,
                                   99999999999999.95,
                                   123456789012345678.0,
                                   1e-300,
                                   5e-324,
                                   1.7976931348623157e308,
                                   2.5,
                                   -7.25,
                                   1234.5 * 37,
                                   0.000123456789012345678};
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> exponent(-320, 308);
    std::uniform_real_distribution<double> mantissa(1, 10);
    for (int i = 0; i < 20000; ++i)
        numbers.push_back(mantissa(random) * std::pow(10, exponent(random)));
    // Hours and pay: few decimals, where rounding half up matters.
    for (int cents = 0; cents < 20000; ++cents) numbers.push_back(cents / 100.0 + cents * 1000);
    for (const double n : numbers) {
        const DecimalDigits ours = DecimalDigits::of(n);
        const DecimalDigits expected = fromPrintf(n);
        ASSERT_EQ(ours.digits, expected.digits) << n;
        ASSERT_EQ(ours.pointPos, expected.pointPos) << n;
    }
}

TEST(DecimalDigits, ZeroAndNonFiniteHaveNoDigits) {
    for (const double n : {0.0, -0.0, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(DecimalDigits::of(n).isZero()) << n;
        EXPECT_EQ(DecimalDigits::of(n).pointPos, 0) << n;
    }
}

}  // namespace
}  // namespace tallowby::engine
