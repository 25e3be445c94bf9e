#pragma once

#include <QByteArray>
#include <QString>

namespace tallowby {

// Writes `bytes` as the file `path`, all or nothing: they go to a temporary
// file beside it, which replaces the target only once every write and the
// flush to disk have succeeded. On any failure the temporary file is removed,
// an existing target is untouched, and tallowby::Failure says why.
void writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace tallowby
