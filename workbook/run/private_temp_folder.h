#pragma once

#include <QByteArray>
#include <QString>

namespace tallowby {

// The program's own folder for its temporary files, created inside the temp
// folder (TEMP when set, else the system's) with mode 0700 so no other user
// can plant or replace a file in it, and removed with everything in it when
// the object goes.
//
// The folder is opened once and checked (a real folder, ours, mode 0700);
// every path handed out leads through that open folder (/proc/self/fd/N), and
// the clean-up removes entries relative to it. Whoever renames the folder and
// puts a link in its place therefore gets nothing written to, or deleted
// from, the link's target.
//
// The folder stays locked (flock) while the object lives. A process that is
// killed cannot remove its folder, but its lock ends with it: making a new
// folder removes the unlocked private folders of ended runs beside it.
class PrivateTempFolder {
  public:
    PrivateTempFolder();  // throws tallowby::Failure when it cannot be created
    ~PrivateTempFolder();
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

    QString path() const { return path_; }
    QString templateFile() const { return path_ + QStringLiteral("/template.xlt"); }
    QString snapshotFile() const { return path_ + QStringLiteral("/temp.bmp"); }

    // Where the folder was made; for messages only, never to reach files.
    QString createdAs() const { return createdAs_; }

    // False once the folder has been deleted from under us.
    bool stillThere() const;

    // The folder that holds ours.
    static QString baseFolder();

  private:
    QString makeLockedFolder(const QString& base);

    int fd_ = -1;        // the folder itself, locked
    int parentFd_ = -1;  // the folder it was made in
    QByteArray name_;    // its name there
    QString path_;
    QString createdAs_;
};

// Removes the folders in the open folder `parentFd` that a run of this
// program made and no running program holds any more: named "tallowby-" and
// six letters or digits, a real folder (never a link) of this user with mode
// 0700, and not locked. Nothing else is touched; `ownName` is skipped.
void removeFoldersOfEndedRuns(int parentFd, const QByteArray& ownName);

// The folder of this run of the program, made at first use (and again when
// it has vanished since) and removed when the program ends.
PrivateTempFolder& sessionTempFolder();

}  // namespace tallowby
