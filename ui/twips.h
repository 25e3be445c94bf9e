#pragma once

#include <QRect>
#include <climits>
#include <cmath>

namespace tallowby {

// Both windows give positions and sizes in twips; at 96 dots per inch a
// pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

// Pixels for a length or a position in twips: the nearest whole pixel,
// halves to the even neighbour (nearbyint in the default rounding mode, which
// this program never changes), clamped to the range of int.
inline int twipsToPixels(double twips) {
    const double pixels = std::nearbyint(twips / kTwipsPerPixel);
    if (std::isnan(pixels)) return 0;
    if (pixels >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (pixels <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(pixels);
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace tallowby
