#include "workbook/engine/xlsx/xlsx_geometry.h"

#include <cmath>

namespace tallowby::engine::xlsx {

namespace {
constexpr double kDigitPixels = 7;
constexpr double kPaddingPixels = 5;
}  // namespace

double xlsxColumnWidth(uint16_t biffWidth) {
    const double pixels = std::round(biffWidth / 256.0 * kDigitPixels);
    if (pixels <= 0) return 0;
    // Below one character the API scales the padding along with the digits.
    if (pixels <= kDigitPixels + kPaddingPixels) return pixels / (kDigitPixels + kPaddingPixels);
    return (pixels - kPaddingPixels) / kDigitPixels;
}

double writtenColumnWidth(double apiWidth) {
    if (apiWidth <= 0) return 0;
    const double pixels = apiWidth < 1
                              ? std::floor(apiWidth * (kDigitPixels + kPaddingPixels) + 0.5)
                              : std::floor(apiWidth * kDigitPixels + 0.5) + kPaddingPixels;
    return std::floor(pixels / kDigitPixels * 256.0);
}

}  // namespace tallowby::engine::xlsx
