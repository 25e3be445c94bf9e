#include "app/output_target.h"

#include <sys/stat.h>

#include <QFileInfo>

#include "app/failure.h"

namespace tallowby::output_target {

std::optional<QString> kindRefused(mode_t mode) {
    if (S_ISREG(mode)) return std::nullopt;
    if (S_ISDIR(mode)) return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode)) return QStringLiteral("it is a FIFO");
    if (S_ISSOCK(mode)) return QStringLiteral("it is a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("it is a device");
    return QStringLiteral("it is not a regular file");
}

namespace {

// Device and inode of the file, or of its folder plus its name when the file
// does not exist yet.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    QString name;
    bool valid = false;
    bool operator==(const Identity&) const = default;
};

Identity identify(const QString& path) {
    Identity id;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        id = {st.st_dev, st.st_ino, {}, true};
        return id;
    }
    const QFileInfo info(path);
    if (::stat(QFile::encodeName(info.absolutePath()).constData(), &st) != 0) return id;
    return {st.st_dev, st.st_ino, info.fileName(), true};
}

}  // namespace

std::optional<QString> refusal(const QString& path) {
    if (path.isEmpty()) return QStringLiteral("no file name was given");
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;  // a new name
    return kindRefused(st.st_mode);
}

void check(const QString& path) {
    if (const auto why = refusal(path))
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(path, *why));
}

bool sameFile(const QString& a, const QString& b) {
    const Identity x = identify(a);
    return x.valid && x == identify(b);
}

}  // namespace tallowby::output_target
