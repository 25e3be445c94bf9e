#pragma once

#include <string>

namespace tallowby::engine {

// A non-negative number as decimal digits, cut to the 15 significant digits a
// spreadsheet keeps: value = 0.d1d2d3... x 10^pointPos. Formatting works on
// these digits so that 1.005 rounds to 1.01 as the user typed it.
struct DecimalDigits {
    std::string digits;  // no leading zeros, no trailing zeros; empty for zero
    int pointPos = 0;    // digits before the decimal point

    static DecimalDigits of(double magnitude);

    bool isZero() const { return digits.empty(); }
    // Rounds half away from zero to `fractionDigits` digits after the point.
    void roundToFraction(int fractionDigits);
    // Rounds half away from zero to `count` significant digits.
    void roundToSignificant(int count);
    // Digits of the integer part ("" for zero).
    std::string integerPart() const;
    // The digit at `index` after the decimal point (0 = tenths).
    char fractionDigit(int index) const;
    // Exponent of the leading digit: 1234 -> 3, 0.05 -> -2.
    int leadingExponent() const { return pointPos - 1; }
};

}  // namespace tallowby::engine
