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

DrawLimits drawLimitsFor(int viewportInnerWidth, int viewportInnerHeight) {
    const auto scaled = [](int limit, int size, int designed) {
        if (size <= designed) return limit;
        return clampToInt(std::floor(static_cast<double>(limit) * size / designed));
    };
    return {scaled(kDrawLimitWidth, viewportInnerWidth, kViewportInnerWidth),
            scaled(kDrawLimitHeight, viewportInnerHeight, kViewportInnerHeight)};
}

bool withinDrawLimits(int scaledWidth, int scaledHeight, DrawLimits limits) {
    return scaledWidth < limits.width && scaledHeight < limits.height;
}

float zoomCandidate(float zoom, int out) {
    const float steps = zoom / kZoomIncrement;
    if (steps == std::floor(steps)) return out == 0 ? zoom + kZoomIncrement : zoom - kZoomIncrement;
    return (out == 0 ? std::ceil(steps) : std::floor(steps)) * kZoomIncrement;
}

float fitZoom(int base, int room) {
    if (base <= 0) return 1.0f;
    float zoom = static_cast<float>(static_cast<double>(room) / base);
    // Single precision may round the quotient up past the room.
    while (zoom > 0 && scaledSize(base, zoom) > room) zoom = std::nextafter(zoom, 0.0f);
    if (zoom < kMinZoom) return kMinZoom;
    if (zoom > kMaxZoom) return kMaxZoom;
    return zoom;
}

QString zoomFactorText(float zoom) {
    return QStringLiteral("%1 %").arg(roundHalfEven(static_cast<double>(zoom) * 100));
}

bool zoomAccepted(float zoom) {
    return zoom >= kMinZoom && zoom <= kMaxZoom;
}

}  // namespace tallowby::preview
