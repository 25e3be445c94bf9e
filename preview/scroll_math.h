#pragma once

#include <optional>

#include "viewport_size.h"

// Panning and scroll-bar arithmetic of the preview window, in twips.

namespace tallowby::preview {

// Differences up to this many twips are scrolled one twip per bar step;
// larger ones ten twips per step.
inline constexpr float kFineRange = 100.0f;
inline constexpr int kFineStep = 1;
inline constexpr int kCoarseStep = 10;

// A bar's value is a 16-bit quantity.
inline constexpr int kBarLimit = 32767;

// How one bar is set up for a picture. When `enabled` is false the bar's
// maximum and value are left as they are.
struct BarSetup {
    bool enabled = false;
    int step = 0;
    int maximum = 0;
};
BarSetup setupBar(int pictureSize, int viewportOuterSize);

// The picture's new left (or top) while it is dragged: the grab point stays
// under the pointer, the picture never leaves a gap at the near side and never
// uncovers the far side of the viewport's inner area.
float dragPosition(float position, float grab, float pointer, float pictureSize,
                   int viewportInnerSize);

// The picture's position as a whole percentage of the bar's range
// (picture size less the viewport's outer size). None when there is no range
// to measure against (picture exactly as large as the viewport) or the result
// does not fit a bar's 16-bit percentage.
std::optional<int> releasePercent(float position, float pictureSize, int viewportOuterSize);

// The bar value for a percentage of its maximum. None when the percentage is
// negative or the value would lie beyond the maximum: the bar is left alone.
std::optional<int> barValueForPercent(int percent, int maximum);

// Where a bar value puts the picture's left (or top).
int positionForBarValue(int step, int value);

}  // namespace tallowby::preview
