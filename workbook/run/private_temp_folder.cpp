#include "workbook/run/private_temp_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <optional>

#include "app/failure.h"

namespace tallowby {

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Deletes everything inside the open folder `fd`, never following a link.
void emptyFolder(int fd) {
    const int listFd = ::dup(fd);
    if (listFd < 0) return;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (::unlinkat(fd, name, 0) == 0) continue;
        const int sub = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) continue;
        emptyFolder(sub);
        ::close(sub);
        ::unlinkat(fd, name, AT_REMOVEDIR);
    }
    ::closedir(dir);
}

}  // namespace

QString PrivateTempFolder::baseFolder() {
    const QString fromEnvironment = qEnvironmentVariable("TEMP");
    return fromEnvironment.isEmpty() ? QDir::tempPath() : fromEnvironment;
}

PrivateTempFolder::PrivateTempFolder() {
    const QString base = baseFolder();
    const auto fail = [&](const QString& why) {
        throw Failure(QStringLiteral("Cannot create a temporary folder in %1: %2").arg(base, why));
    };
    parentFd_ = ::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd_ < 0) fail(systemError());
    QByteArray made = QFile::encodeName(QDir(base).filePath(QStringLiteral("tallowby-XXXXXX")));
    if (!::mkdtemp(made.data())) {
        const QString why = systemError();
        ::close(parentFd_);
        fail(why);
    }
    createdAs_ = QFile::decodeName(made);
    name_ = made.mid(made.lastIndexOf('/') + 1);
    // Opened by name relative to the base we hold, refusing a link put there
    // since mkdtemp, then checked to be the folder we made.
    fd_ = ::openat(parentFd_, name_.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    QString refused;
    if (fd_ < 0)
        refused = systemError();
    else if (::fstat(fd_, &st) != 0)
        refused = systemError();
    else if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0700)
        refused = QStringLiteral("%1 is not a private folder of this user").arg(createdAs_);
    if (!refused.isEmpty()) {
        if (fd_ >= 0) ::close(fd_);
        ::close(parentFd_);
        fd_ = parentFd_ = -1;
        fail(refused);
    }
    path_ = QStringLiteral("/proc/self/fd/%1").arg(fd_);
}

PrivateTempFolder::~PrivateTempFolder() {
    if (fd_ < 0) return;
    emptyFolder(fd_);
    // The name is removed only while it still leads to our folder.
    struct stat ours {
    }, named{};
    if (::fstat(fd_, &ours) == 0 &&
        ::fstatat(parentFd_, name_.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        ours.st_dev == named.st_dev && ours.st_ino == named.st_ino)
        ::unlinkat(parentFd_, name_.constData(), AT_REMOVEDIR);
    ::close(fd_);
    ::close(parentFd_);
}

bool PrivateTempFolder::stillThere() const {
    struct stat st {};
    return fd_ >= 0 && ::fstat(fd_, &st) == 0 && st.st_nlink > 0;
}

PrivateTempFolder& sessionTempFolder() {
    static std::optional<PrivateTempFolder> folder;
    // A temp cleaner may remove the folder while the program runs: make a new one.
    if (!folder || !folder->stillThere()) {
        folder.reset();
        folder.emplace();
    }
    return *folder;
}

}  // namespace tallowby
