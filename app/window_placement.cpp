#include "app/window_placement.h"

#include <algorithm>

namespace tallowby::window_placement {

QRect fitFrame(QRect frame, const QRect& available) {
    if (!available.isValid()) return frame;
    frame.setWidth(std::min(frame.width(), available.width()));
    frame.setHeight(std::min(frame.height(), available.height()));
    if (frame.right() > available.right()) frame.moveRight(available.right());
    if (frame.bottom() > available.bottom()) frame.moveBottom(available.bottom());
    if (frame.left() < available.left()) frame.moveLeft(available.left());
    if (frame.top() < available.top()) frame.moveTop(available.top());
    return frame;
}

QRect centredFrame(const QSize& size, const QRect& available) {
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(available.center());
    return fitFrame(frame, available);
}

}  // namespace tallowby::window_placement
