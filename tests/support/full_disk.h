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

// A really full file system: a tmpfs (64 KiB unless told) mounted on a fresh
// folder, which `fill()` packs with dd until nothing is left, or
// `fillLeaving()` until about that much is left. Mounting needs root; when it
// cannot be done, `skipReason()` says why and the test skips.
class FullDisk {
  public:
    explicit FullDisk(const QString& size = QStringLiteral("64k")) {
        if (::geteuid() != 0) {
            skip_ = "needs root to mount a tmpfs, running as uid " + std::to_string(::geteuid());
            return;
        }
        const QByteArray options = "size=" + size.toLatin1() + ",mode=0755";
        if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                    options.constData()) != 0) {
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
        dd(".filler", {"bs=4096"});
        dd(".filler2", {"bs=1"});
        return freeBytes();
    }

    // Takes whole blocks until `bytes` (rounded up to a block) are left;
    // returns the free bytes left.
    qint64 fillLeaving(qint64 bytes) const {
        const qint64 blocks = (freeBytes() - bytes) / 4096;
        if (blocks > 0) dd(".filler", {"bs=4096", QStringLiteral("count=%1").arg(blocks)});
        return freeBytes();
    }

    qint64 freeBytes() const {
        struct statvfs st {};
        if (::statvfs(QFile::encodeName(dir_.path()).constData(), &st) != 0) return -1;
        return static_cast<qint64>(st.f_bavail) * static_cast<qint64>(st.f_frsize);
    }
    QString path() const { return dir_.path(); }

  private:
    void dd(const QString& name, const QStringList& sizes) const {
        QProcess process;
        process.setStandardErrorFile(QProcess::nullDevice());  // "No space left" is the point
        process.start("dd",
                      QStringList{"if=/dev/zero", "of=" + filePath(name), "status=none"} + sizes);
        process.waitForFinished(60000);
    }

    QTemporaryDir dir_;
    std::string skip_;
    bool mounted_ = false;
};

}  // namespace tallowby::testing
