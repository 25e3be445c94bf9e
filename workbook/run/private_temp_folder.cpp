#include "workbook/run/private_temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "app/failure.h"

namespace tallowby {

QString PrivateTempFolder::baseFolder() {
    const QString fromEnvironment = qEnvironmentVariable("TEMP");
    return fromEnvironment.isEmpty() ? QDir::tempPath() : fromEnvironment;
}

PrivateTempFolder::PrivateTempFolder()
    : dir_(QDir(baseFolder()).filePath(QStringLiteral("tallowby-XXXXXX"))) {
    if (!dir_.isValid())
        throw Failure(QStringLiteral("Cannot create a temporary folder in %1: %2")
                          .arg(baseFolder(), dir_.errorString()));
    QFile::setPermissions(dir_.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

PrivateTempFolder& sessionTempFolder() {
    static std::optional<PrivateTempFolder> folder;
    // A temp cleaner may remove the folder while the program runs: make a new one.
    if (!folder || !QFileInfo(folder->path()).isDir()) {
        folder.reset();
        folder.emplace();
    }
    return *folder;
}

}  // namespace tallowby
