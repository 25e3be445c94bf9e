#pragma once

#include <optional>

#include "preview/scroll_math.h"

// How the wheel and the keyboard move the preview's picture: through the
// scroll bars' values, so the bars and the picture always agree. Lengths are
// twips.

namespace tallowby::preview {

// One line of the timesheet (a table row, 20 pixels); a wheel notch scrolls
// three of them.
inline constexpr int kSheetLineTwips = 300;
inline constexpr int kLinesPerNotch = 3;
// A notch of an ordinary wheel, in Qt's eighths of a degree.
inline constexpr int kNotchAngle = 120;

// Bar values for moving the picture's view by `twips` (positive: further
// right or down) on a bar of `step` twips per value: at least one value for
// any movement, none on a bar whose step is 0.
int barValuesForTwips(int twips, int step);

// The view movement for a wheel turn of `angle` (positive: away from the
// user, which scrolls up or left). Fine-grained wheels give proportionally
// less.
int twipsForWheel(int angle);

// Whole notches collected from a wheel that may report parts of a notch; the
// remainder waits for the next turn in the same direction.
class NotchCounter {
  public:
    // Positive notches for turns away from the user.
    int add(int angle);

  private:
    int pending_ = 0;
};

// What a key does to the view: which bar, and how far.
struct KeyScroll {
    bool horizontal = false;
    int twips = 0;
};
// Arrow keys move one line, Page Up and Page Down the viewport's inner
// height less one line; other keys nothing.
std::optional<KeyScroll> scrollForKey(int key, int viewportInnerHeight = kViewportInnerHeight);

}  // namespace tallowby::preview
