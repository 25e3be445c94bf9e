#pragma once

#include <QString>

class QWidget;

// Puts a top-level window on the screen it opens on, and reads back the
// place to remember (app/window_placement.h holds the arithmetic and the text).
namespace tallowby::window_geometry {

// Before the window is first shown: the remembered place (the text the
// store keeps, empty when none) on the screen it lies on, else centred on
// the window's screen at its present size. Where the frame would not fit the
// screen's available area (a small screen, a large scale factor) the window
// and its minimum size are made smaller so that the whole frame, title bar
// included, is on screen.
void place(QWidget* window, const QString& remembered = QString());

// The window's place as the store keeps it.
QString currentPlace(const QWidget* window);

}  // namespace tallowby::window_geometry
