#include "app/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <utility>

#include "app/failure.h"
#include "app/output_target.h"

namespace tallowby {

namespace {

const AtomicFileWriter::SystemCalls* g_calls = nullptr;

ssize_t callWrite(int fd, const void* data, size_t size) {
    return g_calls && g_calls->write ? g_calls->write(fd, data, size) : ::write(fd, data, size);
}
int callFsync(int fd) {
    return g_calls && g_calls->fsync ? g_calls->fsync(fd) : ::fsync(fd);
}
int callRename(const char* from, const char* to) {
    return g_calls && g_calls->rename ? g_calls->rename(from, to) : ::rename(from, to);
}
int callOpenAnonymous(const char* folder, int flags, mode_t mode) {
    return g_calls && g_calls->openAnonymous ? g_calls->openAnonymous(folder, flags, mode)
                                             : ::open(folder, flags, mode);
}
int callLink(const char* from, const char* to) {
    return g_calls && g_calls->link ? g_calls->link(from, to)
                                    : ::linkat(AT_FDCWD, from, AT_FDCWD, to, AT_SYMLINK_FOLLOW);
}

// New files beside a target are named ".NAME.tallowby-" and six letters or
// digits, so that leftovers of a killed writer can be told from anything else.
QByteArray besidePrefix(const QByteArray& name) {
    return "." + name + ".tallowby-";
}

QByteArray besideName(const QByteArray& folder, const QByteArray& name) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(6, 'X');
    for (char& c : suffix)
        c = kLetters[QRandomGenerator::system()->bounded(static_cast<int>(sizeof kLetters - 1))];
    return folder + "/" + besidePrefix(name) + suffix;
}

bool isBesideName(const char* entry, const QByteArray& prefix) {
    const size_t length = std::strlen(entry);
    if (length != static_cast<size_t>(prefix.size()) + 6 ||
        std::strncmp(entry, prefix.constData(), static_cast<size_t>(prefix.size())) != 0)
        return false;
    for (const char* c = entry + prefix.size(); *c; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
    return true;
}

// A writer holds a lock on its new file until the file has replaced the
// target. A file of our naming beside the target that is a regular file of
// this user and not locked was left by a writer that was killed between
// naming it and the rename: it is removed.
void removeLeftovers(const QByteArray& folder, const QByteArray& name) {
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return;
    DIR* dir = ::fdopendir(folderFd);
    if (!dir) {
        ::close(folderFd);
        return;
    }
    const QByteArray prefix = besidePrefix(name);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isBesideName(entry->d_name, prefix)) continue;
        const int fd =
            ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {
        }, named{};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_ino == st.st_ino && named.st_dev == st.st_dev)
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

void AtomicFileWriter::setSystemCallsForTesting(const SystemCalls* calls) {
    g_calls = calls;
}

AtomicFileWriter::AtomicFileWriter(QString path, mode_t newFileMode, Flush flush)
    : path_(std::move(path)), flush_(flush) {
    output_target::check(path_);
    const QFileInfo info(path_);
    // Through a link the file it names is replaced, as an editor would.
    const QString resolved = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    target_ = QFile::encodeName(resolved);

    mode_t mode = newFileMode & ~currentUmask();
    struct stat existing {};
    if (::stat(target_.constData(), &existing) == 0) mode = existing.st_mode & 07777;

    const QFileInfo resolvedInfo(resolved);
    folder_ = QFile::encodeName(resolvedInfo.absolutePath());
    fileName_ = QFile::encodeName(resolvedInfo.fileName());
    removeLeftovers(folder_, fileName_);
    fd_ = callOpenAnonymous(folder_.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
        if (::flock(fd_, LOCK_EX) != 0) fail(systemError(errno));
    } else {
        const int code = errno;
        // File systems without anonymous files say so in one of these ways.
        if (code != EOPNOTSUPP && code != EISDIR) fail(systemError(code));
        openNamed();
    }
    if (::fchmod(fd_, mode) != 0) fail(systemError(errno));
}

void AtomicFileWriter::openNamed() {
    // Another writer's sweep may remove the file in the moment before it is
    // locked; then a new one is made.
    for (int attempt = 0; attempt < 10; ++attempt) {
        temporary_ = besideName(folder_, fileName_);
        temporary_.chop(6);
        temporary_ += "XXXXXX";
        fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            const int code = errno;
            temporary_.clear();
            fail(systemError(code));
        }
        struct stat st {};
        if (::flock(fd_, LOCK_EX) != 0 || ::fstat(fd_, &st) != 0) fail(systemError(errno));
        if (st.st_nlink > 0) return;
        ::close(fd_);
        fd_ = -1;
        temporary_.clear();
    }
    fail(QStringLiteral("the new file kept vanishing"));
}

// The anonymous file gets a fresh hidden name beside the target, which the
// rename then moves over the target.
void AtomicFileWriter::linkBesideTarget() {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = besideName(folder_, fileName_);
        if (callLink(self.constData(), candidate.constData()) == 0) {
            temporary_ = candidate;
            return;
        }
        if (errno != EEXIST) fail(systemError(errno));
    }
    fail(QStringLiteral("no free name for the new file beside it"));
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
    temporary_.clear();
}

void AtomicFileWriter::fail(const QString& reason) {
    discard();
    throw Failure(QStringLiteral("Cannot write %1: %2").arg(path_, reason));
}

void AtomicFileWriter::write(const QByteArray& bytes) {
    write(bytes.constData(), bytes.size());
}

void AtomicFileWriter::write(const char* data, qint64 size) {
    if (fd_ < 0 || completed_) fail(QStringLiteral("the file is already closed"));
    while (size > 0) {
        const ssize_t n = callWrite(fd_, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(systemError(errno));
        if (n == 0) fail(systemError(ENOSPC));
        data += n;
        size -= n;
        written_ += n;
    }
}

void AtomicFileWriter::commit() {
    publish();
    syncFolder();
}

void AtomicFileWriter::complete() {
    if (completed_) return;
    if (fd_ < 0) fail(QStringLiteral("the file is already closed"));
    // A full disk or a failing device may only show here.
    if (flush_ == Flush::ToDisk && callFsync(fd_) != 0) fail(systemError(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0) fail(systemError(errno));
    if (st.st_size != written_)
        fail(QStringLiteral("%1 of %2 bytes reached the disk").arg(st.st_size).arg(written_));
    completed_ = true;
}

void AtomicFileWriter::prepare() {
    if (prepared_) return;
    complete();
    // Still open, so still locked: no sweep takes the named file away.
    if (temporary_.isEmpty()) linkBesideTarget();
    prepared_ = true;
}

void AtomicFileWriter::publish() {
    prepare();
    if (temporary_.isEmpty()) fail(QStringLiteral("the file is already closed"));
    // The kind of the target may have changed since we looked.
    if (const auto why = output_target::refusal(path_)) fail(*why);
    if (callRename(temporary_.constData(), target_.constData()) != 0) fail(systemError(errno));
    temporary_.clear();
    // The bytes are on the disk and in place; closing can tell nothing new.
    ::close(std::exchange(fd_, -1));
}

void AtomicFileWriter::syncFolder() const {
    if (flush_ != Flush::ToDisk) return;
    // The rename itself reaches the disk with the folder's entry.
    const int dirFd = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

void writeFileAtomically(const QString& path, const QByteArray& bytes, mode_t newFileMode) {
    AtomicFileWriter out(path, newFileMode);
    out.write(bytes);
    out.commit();
}

}  // namespace tallowby
