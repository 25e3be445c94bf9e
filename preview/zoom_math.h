#pragma once

// Zoom arithmetic of the preview window. Every length is in twips
// (1/1440 inch; 15 twips to the pixel at 96 dots per inch, see ui/twips.h).

namespace tallowby::preview {

// The holder's sunken border takes 30 twips on each side; a further 2 twips are
// left off the drawn region.
inline constexpr int kHolderBorders = 60;
inline constexpr int kHolderMargin = 2;

// A redraw is refused at these sizes and beyond (the limits themselves are
// already too large).
inline constexpr int kDrawLimitWidth = 12500;
inline constexpr int kDrawLimitHeight = 11400;

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
bool withinDrawLimits(int scaledWidth, int scaledHeight);

// The zoom one step away: in when `out` is 0, out otherwise (single precision).
float zoomCandidate(float zoom, int out);

// True for zoom factors the window accepts (0.25 to 2.25, both included).
bool zoomAccepted(float zoom);

}  // namespace tallowby::preview
