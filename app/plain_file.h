#pragma once

#include <QByteArray>
#include <QString>

namespace tallowby {

// Plain file operations without the atomic writer's promises: for our own
// scratch files in the private temp folder and for questions about a path.

// True when the file's last-modified time can be read; a folder counts too.
bool fileExists(const QString& path);

// Deletes the file; when that fails, makes it writable and tries again.
// Never reports. Pending window events do not run here: the run and the
// preview's close call it, and a queued click must not act in between.
void removeFile(const QString& path);

// Writes exactly these bytes to the path, creating or truncating the file.
// Throws tallowby::Failure with a description when the write fails.
void writeBinaryFile(const QByteArray& bytes, const QString& path);

}  // namespace tallowby
