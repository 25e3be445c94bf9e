#include "preview/zoom_math.h"

#include <climits>
#include <cmath>

namespace tallowby::preview {

namespace {
int clampToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}
}  // namespace

int roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless somebody changed it; this program never does.
    return clampToInt(std::nearbyint(value));
}

int baseSize(double holderInnerSize) {
    return roundHalfEven(holderInnerSize - kHolderMargin);
}

int scaledSize(int base, float zoom) {
    return clampToInt(std::floor(static_cast<double>(base) * static_cast<double>(zoom)));
}

bool withinDrawLimits(int scaledWidth, int scaledHeight) {
    return scaledWidth < kDrawLimitWidth && scaledHeight < kDrawLimitHeight;
}

float zoomCandidate(float zoom, int out) {
    return out == 0 ? zoom + kZoomIncrement : zoom - kZoomIncrement;
}

bool zoomAccepted(float zoom) {
    return zoom >= kMinZoom && zoom <= kMaxZoom;
}

}  // namespace tallowby::preview
