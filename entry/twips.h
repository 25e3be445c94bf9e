#pragma once

#include <QRect>
#include <cmath>

namespace tallowby {

// Window positions are given in twips; at 96 dots per inch a pixel is 15 twips.
inline int twipsToPixels(int twips) {
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / 15.0));
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace tallowby
