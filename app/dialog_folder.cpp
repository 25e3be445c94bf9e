#include "app/dialog_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/settings_store.h"

namespace tallowby {

namespace dialog_folder {

QString startFolder(const QString& lastFolder, const QString& documentsFolder,
                    const QString& homeFolder) {
    // A folder removed (or unmounted) since is no place to start in.
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
    // The standard location is named even where it was never created.
    if (!documentsFolder.isEmpty() && QFileInfo(documentsFolder).isDir()) return documentsFolder;
    return homeFolder;
}

QString startFolder(const QString& lastFolder) {
    return startFolder(lastFolder,
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       QDir::homePath());
}

QString folderOf(const QString& file) {
    return QFileInfo(file).absolutePath();
}

}  // namespace dialog_folder

QString RememberedFolder::last() const {
    if (store_) return store_->value(QString::fromLatin1(key_), session_);
    return session_;
}

QString RememberedFolder::start() const {
    return dialog_folder::startFolder(last());
}

void RememberedFolder::rememberFolderOf(const QString& file) {
    session_ = dialog_folder::folderOf(file);
    if (!store_) return;
    try {
        store_->setValue(QString::fromLatin1(key_), session_);
    } catch (const std::exception&) {
        // Kept in memory by the store; not worth a message of its own.
    }
}

}  // namespace tallowby
