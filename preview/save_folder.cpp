#include "preview/save_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tallowby::preview {

QString saveDialogFolder(const QString& lastSaveFolder, const QString& documentsFolder,
                         const QString& homeFolder) {
    // A folder removed since the last save is no place to start in.
    if (!lastSaveFolder.isEmpty() && QFileInfo(lastSaveFolder).isDir()) return lastSaveFolder;
    // The standard location is named even where it was never created.
    if (!documentsFolder.isEmpty() && QFileInfo(documentsFolder).isDir()) return documentsFolder;
    return homeFolder;
}

QString saveDialogFolder(const QString& lastSaveFolder) {
    return saveDialogFolder(lastSaveFolder,
                            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                            QDir::homePath());
}

QString folderOfSavedFile(const QString& savedFile) {
    return QFileInfo(savedFile).absolutePath();
}

}  // namespace tallowby::preview
