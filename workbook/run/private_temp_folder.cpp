#include "workbook/run/private_temp_folder.h"

#include <QDir>
#include <QFile>

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
    static PrivateTempFolder folder;
    return folder;
}

}  // namespace tallowby
