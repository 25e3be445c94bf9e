#include "preview/replacing_copy.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/failure.h"

namespace tallowby::preview {

namespace {
constexpr qint64 kChunk = 64 * 1024;
}

void copyReplacing(const QString& source, const QString& target) {
    if (target.isEmpty()) throw Failure(QStringLiteral("No file name was given"));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
    if (QFileInfo(target).isDir())
        throw Failure(QStringLiteral("Cannot write %1: it is a folder").arg(target));

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
    QByteArray chunk;
    while (!(chunk = in.read(kChunk)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            const QString why = out.errorString();
            out.cancelWriting();
            throw Failure(QStringLiteral("Cannot write %1: %2").arg(target, why));
        }
    }
    if (in.error() != QFileDevice::NoError) {
        const QString why = in.errorString();
        out.cancelWriting();
        throw Failure(QStringLiteral("Cannot read %1: %2").arg(source, why));
    }
    if (!out.commit())
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
}

}  // namespace tallowby::preview
