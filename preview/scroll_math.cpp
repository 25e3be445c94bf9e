#include "preview/scroll_math.h"

#include <cmath>
#include <cstdlib>

#include "preview/zoom_math.h"

namespace tallowby::preview {

BarSetup setupBar(int pictureSize, int viewportOuterSize) {
    BarSetup bar;
    if (pictureSize <= viewportOuterSize) return bar;
    const float difference =
        static_cast<float>(pictureSize) - static_cast<float>(viewportOuterSize);
    bar.enabled = true;
    if (difference <= kFineRange) {
        bar.step = kFineStep;
        bar.maximum = roundHalfEven(difference);
    } else {
        bar.step = kCoarseStep;
        bar.maximum = roundHalfEven(difference / static_cast<float>(kCoarseStep));
    }
    // Beyond the 16-bit range the bar cannot reach the far end; it still
    // covers as much as it can.
    if (bar.maximum > kBarLimit) bar.maximum = kBarLimit;
    return bar;
}

float dragPosition(float position, float grab, float pointer, float pictureSize,
                   int viewportInnerSize) {
    float next = position - grab + pointer;
    const float farLimit = static_cast<float>(viewportInnerSize) - pictureSize;
    if (next > 0.0f) {
        next = 0.0f;
    } else if (farLimit > next) {
        next = farLimit;
    }
    return next;
}

std::optional<int> releasePercent(float position, float pictureSize, int viewportOuterSize) {
    const double range = static_cast<double>(pictureSize) - viewportOuterSize;
    if (range == 0.0) return std::nullopt;
    const double percent = std::fabs(static_cast<double>(position)) / range * 100.0;
    if (!std::isfinite(percent)) return std::nullopt;
    const double rounded = std::nearbyint(percent);
    if (rounded > kBarLimit || rounded < -kBarLimit - 1) return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<int> barValueForPercent(int percent, int maximum) {
    if (percent < 0) return std::nullopt;
    const double value = static_cast<double>(percent) / 100.0 * maximum;
    if (value > maximum) return std::nullopt;
    return roundHalfEven(value);
}

int positionForBarValue(int step, int value) {
    return -(step * value);
}

}  // namespace tallowby::preview
