#include "workbook/run/private_temp_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

#include "app/failure.h"

namespace tallowby {

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Calls `visit` with the name of each entry of the open folder `fd` but "."
// and "..", reading through a copy of the descriptor so `fd` stays open.
void forEachEntry(int fd, const std::function<void(const char*)>& visit) {
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
        visit(name);
    }
    ::closedir(dir);
}

// Deletes everything inside the open folder `fd`, never following a link.
void emptyFolder(int fd) {
    forEachEntry(fd, [fd](const char* name) {
        if (::unlinkat(fd, name, 0) == 0) return;
        const int sub = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) return;
        emptyFolder(sub);
        ::close(sub);
        ::unlinkat(fd, name, AT_REMOVEDIR);
    });
}

// "tallowby-" and the six letters or digits mkdtemp puts in place of XXXXXX.
bool isPrivateFolderName(const char* name) {
    static constexpr char kPrefix[] = "tallowby-";
    constexpr size_t prefixLength = sizeof kPrefix - 1;
    if (std::strncmp(name, kPrefix, prefixLength) != 0 || std::strlen(name) != prefixLength + 6)
        return false;
    for (const char* c = name + prefixLength; *c; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
    return true;
}

// Removes the folder `name` in `parentFd` when it is one of ours that no
// running program holds: our name, a real folder of this user with mode 0700,
// and its lock free.
void removeIfEnded(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & 07777) == 0700 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        emptyFolder(fd);
        struct stat named {};
        if (::fstatat(parentFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == st.st_dev && named.st_ino == st.st_ino)
            ::unlinkat(parentFd, name, AT_REMOVEDIR);
    }
    ::close(fd);  // drops the lock
}

}  // namespace

void removeFoldersOfEndedRuns(int parentFd, const QByteArray& ownName) {
    forEachEntry(parentFd, [parentFd, &ownName](const char* name) {
        if (isPrivateFolderName(name) && ownName != name) removeIfEnded(parentFd, name);
    });
}

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
    // A start that sweeps the folders of dead runs may take a fresh folder
    // in the moment before it is locked: then another is made.
    for (int attempt = 0; attempt < 10 && fd_ < 0; ++attempt) {
        if (const QString why = makeLockedFolder(base); !why.isEmpty()) {
            ::close(parentFd_);
            parentFd_ = -1;
            fail(why);
        }
    }
    if (fd_ < 0) {
        ::close(parentFd_);
        parentFd_ = -1;
        fail(QStringLiteral("the new folder kept vanishing"));
    }
    path_ = QStringLiteral("/proc/self/fd/%1").arg(fd_);
    removeFoldersOfEndedRuns(parentFd_, name_);
}

QString PrivateTempFolder::makeLockedFolder(const QString& base) {
    QByteArray made = QFile::encodeName(QDir(base).filePath(QStringLiteral("tallowby-XXXXXX")));
    if (!::mkdtemp(made.data())) return systemError();
    createdAs_ = QFile::decodeName(made);
    name_ = made.mid(made.lastIndexOf('/') + 1);
    // Opened by name relative to the base we hold, refusing a link put there
    // since mkdtemp, then checked to be the folder we made.
    const int fd =
        ::openat(parentFd_, name_.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // Another start swept it away before we could open it: make another.
    if (fd < 0 && errno == ENOENT) return {};
    struct stat st {};
    QString refused;
    if (fd < 0)
        refused = systemError();
    else if (::fstat(fd, &st) != 0)
        refused = systemError();
    else if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0700)
        refused = QStringLiteral("%1 is not a private folder of this user").arg(createdAs_);
    // The lock says "a running program owns this folder" for as long as the
    // process lives; the system drops it when the process ends in any way.
    else if (::flock(fd, LOCK_EX) != 0)
        refused = systemError();
    if (!refused.isEmpty()) {
        if (fd >= 0) ::close(fd);
        return refused;
    }
    if (::fstat(fd, &st) != 0 || st.st_nlink == 0) {
        ::close(fd);  // swept away before we locked it
        return {};
    }
    fd_ = fd;
    return {};
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
