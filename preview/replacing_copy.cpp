#include "preview/replacing_copy.h"

#include <QFile>
#include <QFileInfo>

#include "app/atomic_file.h"
#include "app/failure.h"
#include "app/output_target.h"

namespace tallowby::preview {

namespace {
constexpr qint64 kChunk = 64 * 1024;
}

void copyReplacing(const QString& source, const QString& target) {
    if (target.isEmpty()) throw Failure(QStringLiteral("No file name was given"));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
    output_target::check(target);
    if (output_target::sameFile(source, target))
        throw Failure(QStringLiteral("Cannot write %1: it is the file being copied").arg(target));

    AtomicFileWriter out(target);
    QByteArray chunk;
    while (!(chunk = in.read(kChunk)).isEmpty()) out.write(chunk);
    // Nothing is committed from a source that could not be read to its end.
    if (in.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
    out.commit();
}

}  // namespace tallowby::preview
