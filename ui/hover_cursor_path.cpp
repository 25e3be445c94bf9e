#include "ui/hover_cursor_path.h"

#include <QDir>
#include <QFileInfo>

namespace tallowby {

QString hoverCursorPath(const QString& programFolder) {
    const QDir folder(programFolder.isEmpty() ? QStringLiteral(".") : programFolder);
    const QString beside = folder.filePath(QStringLiteral("HAND-M.CUR"));
    if (QFileInfo::exists(beside)) return beside;
    const QString shared =
        QDir::cleanPath(folder.filePath(QStringLiteral("../share/tallowby/HAND-M.CUR")));
    if (QFileInfo(shared).isFile()) return shared;
    return beside;
}

}  // namespace tallowby
