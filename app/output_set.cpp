#include "app/output_set.h"

#include <QStringList>
#include <exception>

#include "app/failure.h"

namespace tallowby {

AtomicFileWriter& OutputSet::add(const QString& path, mode_t newFileMode) {
    try {
        writers_.push_back(std::make_unique<AtomicFileWriter>(path, newFileMode));
    } catch (...) {
        abandon();
        throw;
    }
    return *writers_.back();
}

void OutputSet::abandon() {
    // Each writer removes its own new file as it goes.
    writers_.clear();
}

void OutputSet::commit() {
    // The slow part (flushing every file to the disk) comes before any new
    // file has a name, so a process killed meanwhile leaves nothing; naming
    // and renaming follow each other at once.
    try {
        for (auto& writer : writers_) writer->complete();
        for (auto& writer : writers_) writer->prepare();
    } catch (...) {
        abandon();
        throw;
    }
    // Every new file is complete and named: now they take their targets'
    // places. A rename in a folder where linking just worked fails only when
    // the target was changed under us; the outputs renamed before it stay.
    QStringList replaced;
    for (auto& writer : writers_) {
        try {
            writer->publish();
        } catch (const std::exception& e) {
            const QString why = QString::fromUtf8(e.what());
            abandon();
            if (replaced.isEmpty()) throw Failure(why);
            throw Failure(QStringLiteral("%1 (%2 already replaced)").arg(why, replaced.join(", ")));
        }
        replaced << writer->path();
    }
    for (const auto& writer : writers_) writer->syncFolder();
    writers_.clear();
}

}  // namespace tallowby
