// Preview window: the wheel and the keyboard over the viewport. Both move the scroll
// bars, whose value changes move the picture, and Ctrl+wheel zooms through
// the zoom buttons' own commands.

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "preview/preview_window.h"
#include "preview/wheel_math.h"

namespace tallowby::preview {

bool PreviewWindow::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        viewportWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto scroll = scrollForKey(key->key(), viewportInnerHeight());
        if (!scroll || (key->modifiers() & ~Qt::KeypadModifier)) return false;
        scrollViewBy(scroll->horizontal, scroll->twips);
        return true;
    }
    return false;
}

void PreviewWindow::viewportWheel(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        const int notches = zoomNotches_.add(angle.y() != 0 ? angle.y() : angle.x());
        for (int i = 0; i < notches; ++i) onZoomInClicked();  // away from the user: Zoom In
        for (int i = 0; i > notches; --i) onZoomOutClicked();
        return;
    }
    // Shift turns the ordinary wheel sideways; a tilting wheel is sideways anyway.
    if (event->modifiers() & Qt::ShiftModifier)
        scrollViewBy(true, twipsForWheel(angle.y() != 0 ? angle.y() : angle.x()));
    else if (angle.y() != 0)
        scrollViewBy(false, twipsForWheel(angle.y()));
    else
        scrollViewBy(true, twipsForWheel(angle.x()));
}

void PreviewWindow::scrollViewBy(bool horizontal, int twips) {
    QScrollBar* bar = horizontal ? hScroll_ : vScroll_;
    // A disabled bar has nothing to show beyond the viewport.
    if (!bar->isEnabled()) return;
    const int values = barValuesForTwips(twips, horizontal ? hStep_ : vStep_);
    if (values != 0) bar->setValue(bar->value() + values);
}

}  // namespace tallowby::preview
