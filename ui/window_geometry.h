#pragma once

class QWidget;

// Puts a top-level window on the screen it is about to open on.
namespace tallowby::window_geometry {

// Centres the window on its screen's available area and, where its frame
// would not fit there (a small screen, a large scale factor), makes it and
// its minimum size smaller so that the whole frame, title bar included, is on
// screen. Call before the window is first shown.
void placeCentred(QWidget* window);

}  // namespace tallowby::window_geometry
