#pragma once

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <string>

namespace tallowby::testing {

// A really full file system: a 64 KiB tmpfs mounted on a fresh folder, which
// `fill()` packs with dd until nothing is left. Mounting needs root; when it
// cannot be done, `skipReason()` says why and the test skips.
class FullDisk {
  public:
    FullDisk() {
        if (::geteuid() != 0) {
            skip_ = "needs root to mount a tmpfs, running as uid " + std::to_string(::geteuid());
            return;
        }
        if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                    "size=64k,mode=0755") != 0) {
            skip_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
    }
    ~FullDisk() {
        if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    const std::string& skipReason() const { return skip_; }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    // Takes every free block (whole blocks, then single bytes); returns the
    // free bytes left, 0 when full.
    qint64 fill() const {
        dd(".filler", "bs=4096");
        dd(".filler2", "bs=1");
        struct statvfs st {};
        if (::statvfs(QFile::encodeName(dir_.path()).constData(), &st) != 0) return -1;
        return static_cast<qint64>(st.f_bavail) * static_cast<qint64>(st.f_frsize);
    }

  private:
    void dd(const QString& name, const QString& blockSize) const {
        QProcess process;
        process.setStandardErrorFile(QProcess::nullDevice());  // "No space left" is the point
        process.start("dd", {"if=/dev/zero", "of=" + filePath(name), blockSize, "status=none"});
        process.waitForFinished(60000);
    }

    QTemporaryDir dir_;
    std::string skip_;
    bool mounted_ = false;
};

}  // namespace tallowby::testing
