#pragma once

#include <QString>

#include "viewport_size.h"

// Zoom arithmetic of the preview window. Every length is in twips
// (1/1440 inch; 15 twips to the pixel at 96 dots per inch, see ui/twips.h).

namespace tallowby::preview {

// The holder's sunken border takes 30 twips on each side; a further 2 twips are
// left off the drawn region.
inline constexpr int kHolderBorders = 60;
inline constexpr int kHolderMargin = 2;

// A redraw is refused at these sizes and beyond (the limits themselves are
// already too large), for the viewport at its designed inner size
// (viewport_size.h); a larger viewport has proportionally larger limits.
inline constexpr int kDrawLimitWidth = 12500;
inline constexpr int kDrawLimitHeight = 11400;

struct DrawLimits {
    int width = kDrawLimitWidth;
    int height = kDrawLimitHeight;
};

// The limits for a viewport of this inner size: the designed limits scaled
// by how much larger the viewport is in each direction, never below them.
DrawLimits drawLimitsFor(int viewportInnerWidth, int viewportInnerHeight);

inline constexpr float kMinZoom = 0.25f;
inline constexpr float kMaxZoom = 2.25f;
inline constexpr float kZoomIncrement = 0.25f;

// Nearest whole number, halves to the even neighbour; clamped to the range of
// int so that absurd input cannot overflow.
int roundHalfEven(double value);

// The drawn size at zoom 1.0 for a holder of the given inner size.
int baseSize(double holderInnerSize);

// floor(base * zoom), the product taken in double precision.
int scaledSize(int base, float zoom);

// True when a picture of this scaled size may be drawn.
bool withinDrawLimits(int scaledWidth, int scaledHeight, DrawLimits limits = {});

// The zoom one step away: in when `out` is 0, out otherwise (single
// precision). From a factor between two steps (after fitting the picture to
// the window) the step goes to the nearest step in that direction.
float zoomCandidate(float zoom, int out);

// The largest factor, within the accepted range, at which a picture of
// `base` twips is drawn no larger than `room` twips.
float fitZoom(int base, int room);

// The factor as the window shows it: a whole percentage, "125 %".
QString zoomFactorText(float zoom);

// True for zoom factors the window accepts (0.25 to 2.25, both included).
bool zoomAccepted(float zoom);

}  // namespace tallowby::preview
