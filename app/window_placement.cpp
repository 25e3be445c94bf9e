#include "app/window_placement.h"

#include <QStringList>
#include <algorithm>

namespace tallowby::window_placement {

namespace {
// Larger numbers come only from a damaged store; no screen is that large.
constexpr int kLargestCoordinate = 1000000;
constexpr char kMaximizedWord[] = "maximized";
}  // namespace

QString placeText(const WindowPlace& place) {
    const QRect& r = place.normal;
    QString text =
        QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    if (place.maximized) text += QLatin1Char(',') + QLatin1String(kMaximizedWord);
    return text;
}

std::optional<WindowPlace> parsePlace(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4 && parts.size() != 5) return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || numbers[i] < -kLargestCoordinate || numbers[i] > kLargestCoordinate)
            return std::nullopt;
    }
    WindowPlace place;
    place.normal = QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
    if (place.normal.width() <= 0 || place.normal.height() <= 0) return std::nullopt;
    if (parts.size() == 5) {
        if (parts[4].trimmed() != QLatin1String(kMaximizedWord)) return std::nullopt;
        place.maximized = true;
    }
    return place;
}

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
