#include "app/plain_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "app/failure.h"

namespace tallowby {

bool fileExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).lastModified().isValid();
}

void removeFile(const QString& path) {
    if (path.isEmpty()) return;
    if (QFile::remove(path)) return;
    // A read-only file goes too: make it writable and try once more.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    QFile::remove(path);
}

void writeBinaryFile(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Failure(QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size())
        throw Failure(QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString()));
    if (!file.flush())
        throw Failure(QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString()));
}

}  // namespace tallowby
