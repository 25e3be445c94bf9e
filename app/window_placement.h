#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// Where a window goes on its screen, as plain arithmetic on rectangles in
// logical pixels, and how its place is kept in the settings store; the
// widget side is ui/window_geometry.h.
namespace tallowby::window_placement {

// The store's keys of the two windows' places.
inline constexpr char kEntryWindowKey[] = "EntryWindowPlace";
inline constexpr char kPreviewWindowKey[] = "PreviewWindowPlace";

// A window's place: its client area when not maximised, and whether it was.
struct WindowPlace {
    QRect normal;
    bool maximized = false;
};

// Stored as "left,top,width,height", followed by ",maximized" for a
// maximised window. Text that is not that (or has no area) gives none.
QString placeText(const WindowPlace& place);
std::optional<WindowPlace> parsePlace(const QString& text);

// `frame` shrunk where it is wider or taller than `available` and moved the
// least distance that puts it wholly inside `available`.
QRect fitFrame(QRect frame, const QRect& available);

// A frame of `size` centred in `available`, then fitted into it.
QRect centredFrame(const QSize& size, const QRect& available);

}  // namespace tallowby::window_placement
