#include "ui/cursor_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

#include "app/failure.h"

namespace tallowby::cursor_file {

namespace {
// Cursor files are tiny; anything far bigger is not one.
constexpr qint64 kLargestCursorFile = 4 * 1024 * 1024;

quint16 le16(const QByteArray& b, int at) {
    return static_cast<quint16>(static_cast<unsigned char>(b[at]) |
                                (static_cast<unsigned char>(b[at + 1]) << 8));
}
}  // namespace

std::optional<QPoint> hotspot(const QByteArray& bytes) {
    // ICONDIR: reserved 0, type 2 (cursor), image count; then 16-byte entries.
    constexpr int kDirSize = 6;
    constexpr int kEntrySize = 16;
    if (bytes.size() < kDirSize + kEntrySize) return std::nullopt;
    if (le16(bytes, 0) != 0 || le16(bytes, 2) != 2 || le16(bytes, 4) == 0) return std::nullopt;
    const int width = static_cast<unsigned char>(bytes[kDirSize]);
    const int height = static_cast<unsigned char>(bytes[kDirSize + 1]);
    const int x = le16(bytes, kDirSize + 4);
    const int y = le16(bytes, kDirSize + 6);
    // A width or height byte of 0 means 256 pixels.
    if (x >= (width ? width : 256) || y >= (height ? height : 256)) return std::nullopt;
    return QPoint(x, y);
}

QCursor load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(
            QStringLiteral("Cannot read the cursor file %1: %2").arg(path, file.errorString()));
    if (file.size() > kLargestCursorFile)
        throw Failure(QStringLiteral("Invalid picture: %1").arg(path));
    const QByteArray bytes = file.readAll();
    const auto spot = hotspot(bytes);
    if (!spot) throw Failure(QStringLiteral("Invalid picture: %1").arg(path));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (image.isNull()) throw Failure(QStringLiteral("Invalid picture: %1").arg(path));
    return QCursor(QPixmap::fromImage(image), spot->x(), spot->y());
}

}  // namespace tallowby::cursor_file
