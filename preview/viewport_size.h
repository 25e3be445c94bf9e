#pragma once

// The preview's viewport at its designed size (the window's opening size), in
// twips; it grows with the window, and the zoom limits and scroll steps are
// measured against this size. Its outer size includes a one-pixel border on
// each side.

namespace tallowby::preview {

inline constexpr int kViewportOuterWidth = 9330;
inline constexpr int kViewportOuterHeight = 7425;
inline constexpr int kViewportBorders = 30;
inline constexpr int kViewportInnerWidth = kViewportOuterWidth - kViewportBorders;
inline constexpr int kViewportInnerHeight = kViewportOuterHeight - kViewportBorders;

}  // namespace tallowby::preview
