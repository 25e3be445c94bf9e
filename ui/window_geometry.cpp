#include "ui/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/window_placement.h"

namespace tallowby::window_geometry {

namespace {

// What the frame adds to the client area. Before a window is first mapped
// the platform may not know its frame yet; then it adds nothing here and the
// window manager's own placement keeps the title bar reachable.
QMargins frameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

QRect availableArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace

void placeCentred(QWidget* window) {
    const QRect available = availableArea(window);
    if (!available.isValid()) return;
    const QMargins margins = frameMargins(window);
    const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QRect frame = window_placement::centredFrame(window->size() + extra, available);
    const QSize client = frame.size() - extra;
    window->setMinimumSize(window->minimumSize().boundedTo(client));
    window->resize(client);
    window->move(frame.topLeft());
}

}  // namespace tallowby::window_geometry
