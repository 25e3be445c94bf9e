#pragma once

#include <QRect>
#include <QSize>

// Where a window goes on its screen, as plain arithmetic on rectangles in
// logical pixels; the widget side is ui/window_geometry.h.
namespace tallowby::window_placement {

// `frame` shrunk where it is wider or taller than `available` and moved the
// least distance that puts it wholly inside `available`.
QRect fitFrame(QRect frame, const QRect& available);

// A frame of `size` centred in `available`, then fitted into it.
QRect centredFrame(const QSize& size, const QRect& available);

}  // namespace tallowby::window_placement
