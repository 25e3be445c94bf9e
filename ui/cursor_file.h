#pragma once

#include <QByteArray>
#include <QCursor>
#include <QPoint>
#include <QString>
#include <optional>

// Windows cursor (.cur) files. Qt reads their picture through its ico plugin
// but puts the hotspot in the middle, so the hotspot comes from the file's
// own directory entry.
namespace tallowby::cursor_file {

// The hotspot of the first image, from the directory entry; nothing when the
// bytes are not a cursor file (wrong header, no images, entry cut short, or a
// hotspot outside the picture).
std::optional<QPoint> hotspot(const QByteArray& bytes);

// The cursor of the file at `path`, with the file's own hotspot.
// Throws tallowby::Failure when the file cannot be read or is no cursor.
QCursor load(const QString& path);

}  // namespace tallowby::cursor_file
