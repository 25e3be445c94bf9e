// The General format: as many digits as fit in the cell, then scientific.
#include <cmath>
#include <string>

#include "workbook/engine/numfmt/decimal_digits.h"
#include "workbook/engine/numfmt/number_format.h"

namespace tallowby::engine {
namespace {

std::string plainDecimal(const DecimalDigits& d, const std::string& decimalSeparator) {
    std::string out = d.integerPart();
    if (out.empty()) out = "0";
    std::string fraction;
    for (int i = 0; d.pointPos + i < static_cast<int>(d.digits.size()); ++i)
        fraction.push_back(d.fractionDigit(i));
    if (!fraction.empty()) out += decimalSeparator + fraction;
    return out;
}

std::string scientific(DecimalDigits d, int width, const std::string& decimalSeparator) {
    // Mantissa digits left once "E+xx" and the point are counted.
    int exponent = d.leadingExponent();
    const int exponentDigits = std::abs(exponent) >= 100 ? 3 : 2;
    const int mantissaDigits = std::max(1, width - 3 - exponentDigits);
    d.roundToSignificant(mantissaDigits);
    exponent = d.leadingExponent();
    std::string out(1, d.digits.empty() ? '0' : d.digits[0]);
    if (d.digits.size() > 1) out += decimalSeparator + d.digits.substr(1);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + buffer;
}

}  // namespace

std::string formatGeneral(double value, const FormatLocale& locale, int maxChars) {
    if (std::isnan(value)) return "#NUM!";
    if (std::isinf(value)) return value < 0 ? "-#NUM!" : "#NUM!";
    const int width = std::max(maxChars, 7);
    const std::string sign = value < 0 ? "-" : "";
    DecimalDigits d = DecimalDigits::of(value);
    if (d.isZero()) return "0";

    const int exponent = d.leadingExponent();
    const int significant = static_cast<int>(d.digits.size());
    const int scientificDigits = std::min(significant, width - 5);
    if (exponent >= 0) {
        if (exponent + 1 > width) return sign + scientific(d, width, locale.decimal);
        DecimalDigits rounded = d;
        rounded.roundToFraction(std::max(0, width - exponent - 2));
        if (rounded.pointPos > width) return sign + scientific(d, width, locale.decimal);
        return sign + plainDecimal(rounded, locale.decimal);
    }
    // Below one: "0." plus leading zeros eat the room, so scientific wins once
    // it would show more of the number.
    const int decimalDigits = width - 1 + exponent;
    if (decimalDigits <= 0 || scientificDigits > decimalDigits)
        return sign + scientific(d, width, locale.decimal);
    DecimalDigits rounded = d;
    rounded.roundToFraction(width - 2);
    return sign + plainDecimal(rounded, locale.decimal);
}

}  // namespace tallowby::engine
