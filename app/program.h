#pragma once

#include <QByteArray>
#include <QString>

namespace tallowby {

// The small file helpers and the application title every part leans on
// (the desktop ones are in ui/desktop.h).
namespace program {

// True when the file's last-modified time can be read; a folder counts too.
bool fileExists(const QString& path);

// Deletes the file; when that fails, makes it writable and tries again.
// Never reports. Pending window events do not run here: the run and the
// preview's close call it, and a queued click must not act in between.
void removeFile(const QString& path);

// Writes exactly these bytes to the path, creating or truncating the file.
// Throws tallowby::Failure with a description when the write fails.
void writeBinaryFile(const QByteArray& bytes, const QString& path);

// The application title: the product name cut at its last blank while it is
// longer than 40 characters. SetAppTitle stores it for AppTitle().
QString appTitleFrom(const QString& productName);
void setAppTitle();
QString appTitle();

}  // namespace program
}  // namespace tallowby
