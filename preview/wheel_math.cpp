#include "preview/wheel_math.h"

#include <Qt>
#include <cmath>
#include <cstdlib>

#include "preview/scroll_math.h"

namespace tallowby::preview {

int barValuesForTwips(int twips, int step) {
    if (step <= 0 || twips == 0) return 0;
    const long values = std::lround(static_cast<double>(twips) / step);
    if (values == 0) return twips > 0 ? 1 : -1;
    if (values > kBarLimit) return kBarLimit;
    if (values < -kBarLimit) return -kBarLimit;
    return static_cast<int>(values);
}

int twipsForWheel(int angle) {
    // Turning away from the user shows what lies above: the view moves back.
    return static_cast<int>(
        std::lround(-static_cast<double>(angle) * kLinesPerNotch * kSheetLineTwips / kNotchAngle));
}

int NotchCounter::add(int angle) {
    // A turn the other way drops what was collected the first way.
    if ((pending_ > 0 && angle < 0) || (pending_ < 0 && angle > 0)) pending_ = 0;
    pending_ += angle;
    const int notches = pending_ / kNotchAngle;
    pending_ -= notches * kNotchAngle;
    return notches;
}

std::optional<KeyScroll> scrollForKey(int key, int viewportInnerHeight) {
    const int page = viewportInnerHeight - kSheetLineTwips;
    switch (key) {
        case Qt::Key_Up:
            return KeyScroll{false, -kSheetLineTwips};
        case Qt::Key_Down:
            return KeyScroll{false, kSheetLineTwips};
        case Qt::Key_Left:
            return KeyScroll{true, -kSheetLineTwips};
        case Qt::Key_Right:
            return KeyScroll{true, kSheetLineTwips};
        case Qt::Key_PageUp:
            return KeyScroll{false, -page};
        case Qt::Key_PageDown:
            return KeyScroll{false, page};
        default:
            return std::nullopt;
    }
}

}  // namespace tallowby::preview
