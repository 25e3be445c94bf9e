#include "app/whole_file_write.h"

#include <QFileInfo>
#include <QSaveFile>

#include "app/failure.h"

namespace tallowby {

void writeWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) throw Failure(QStringLiteral("No file name was given"));
    if (QFileInfo(path).isDir())
        throw Failure(QStringLiteral("Cannot write %1: it is a folder").arg(path));
    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        file.cancelWriting();
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(path, why));
    };
    if (!file.open(QIODevice::WriteOnly)) fail(file.errorString());
    // QSaveFile buffers: a full disk shows in flush(), and commit() has been
    // seen to succeed after a short write, so every step is checked here.
    if (file.write(bytes) != bytes.size()) fail(file.errorString());
    if (!file.flush() || file.error() != QFileDevice::NoError) fail(file.errorString());
    if (!file.commit())
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

}  // namespace tallowby
