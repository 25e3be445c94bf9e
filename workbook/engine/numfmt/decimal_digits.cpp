#include "workbook/engine/numfmt/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tallowby::engine {
namespace {

void trimTrailingZeros(DecimalDigits& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.pointPos = 0;
}

// Keeps `keep` leading digits, rounding half up on the digit that follows.
void roundAtDigit(DecimalDigits& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        d.pointPos = 0;
        return;
    }
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    trimTrailingZeros(d);
}

}  // namespace

DecimalDigits DecimalDigits::of(double magnitude) {
    DecimalDigits d;
    magnitude = std::fabs(magnitude);
    if (!(magnitude > 0) || !std::isfinite(magnitude)) return d;
    // As printf's "%.14e", without its locale and stream machinery, which
    // cost more than the rest of formatting a number.
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer - 1, magnitude,
                                       std::chars_format::scientific, 14);
    *written.ptr = '\0';
    // "d.dddddddddddddde[+-]xx"
    d.digits.push_back(buffer[0]);
    for (int i = 2; i < 16; ++i) d.digits.push_back(buffer[i]);
    d.pointPos = std::atoi(buffer + 17) + 1;
    trimTrailingZeros(d);
    return d;
}

void DecimalDigits::roundToFraction(int fractionDigits) {
    roundAtDigit(*this, pointPos + fractionDigits);
}

void DecimalDigits::roundToSignificant(int count) {
    roundAtDigit(*this, count);
}

std::string DecimalDigits::integerPart() const {
    if (pointPos <= 0) return {};
    std::string out = digits.substr(0, static_cast<size_t>(pointPos));
    out.append(static_cast<size_t>(pointPos) - out.size(), '0');
    return out;
}

char DecimalDigits::fractionDigit(int index) const {
    const long long at = static_cast<long long>(pointPos) + index;
    if (at < 0 || at >= static_cast<long long>(digits.size())) return '0';
    return digits[static_cast<size_t>(at)];
}

}  // namespace tallowby::engine
