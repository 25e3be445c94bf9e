#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tallowby {

// The program's own folder for its temporary files, created inside the temp
// folder (TEMP when set, else the system's) with mode 0700 so no other user
// can plant or replace a file in it, and removed with everything in it when
// the object goes.
class PrivateTempFolder {
  public:
    PrivateTempFolder();  // throws tallowby::Failure when it cannot be created

    QString path() const { return dir_.path(); }
    QString templateFile() const { return dir_.filePath(QStringLiteral("template.xlt")); }
    QString snapshotFile() const { return dir_.filePath(QStringLiteral("temp.bmp")); }

    // The folder that holds ours.
    static QString baseFolder();

  private:
    QTemporaryDir dir_;
};

// The folder of this run of the program, made at first use (and again when
// it has vanished since) and removed when the program ends.
PrivateTempFolder& sessionTempFolder();

}  // namespace tallowby
