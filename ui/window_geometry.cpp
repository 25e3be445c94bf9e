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

QRect availableAreaAt(const QWidget* window, const std::optional<QPoint>& point) {
    const QScreen* screen = point ? QGuiApplication::screenAt(*point) : nullptr;
    if (!screen) screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace

void place(QWidget* window, const QString& remembered) {
    const auto kept = window_placement::parsePlace(remembered);
    const QMargins margins = frameMargins(window);
    const QRect available =
        availableAreaAt(window, kept ? std::optional(kept->normal.center()) : std::nullopt);
    if (!available.isValid()) return;
    const QRect frame =
        kept ? window_placement::fitFrame(kept->normal.marginsAdded(margins), available)
             : window_placement::centredFrame(window->size().grownBy(margins), available);
    const QRect client = frame.marginsRemoved(margins);
    window->setMinimumSize(window->minimumSize().boundedTo(client.size()));
    window->setGeometry(client);
    if (kept && kept->maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

QString currentPlace(const QWidget* window) {
    return window_placement::placeText({window->normalGeometry(), window->isMaximized()});
}

}  // namespace tallowby::window_geometry
