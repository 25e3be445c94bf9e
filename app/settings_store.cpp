#include "app/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "app/atomic_file.h"
#include "app/failure.h"
#include "app/ini_text.h"
#include "app/output_target.h"

namespace tallowby {

namespace {

// Far beyond anything the program writes; a bigger file is not ours to load.
constexpr qint64 kLargestStore = 64 * 1024 * 1024;

// A line of blanks only (any of Unicode's); most lines show a visible ASCII
// character at once and are never decoded.
bool isBlankLine(const QByteArray& line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) > ' ' && static_cast<unsigned char>(c) < 0x80)
            return false;
    return QString::fromUtf8(line).trimmed().isEmpty();
}

// The first free NAME.damaged-YYYY-MM-DD (then -2, -3 ...) beside the store.
QString damagedName(const QString& path) {
    const QString base =
        path + QStringLiteral(".damaged-") + QDate::currentDate().toString(Qt::ISODate);
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

// Makes the folder and any missing folders above it, each for the owner only.
void makeFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return;
    const QString parent = QFileInfo(folder).absolutePath();
    if (parent != folder) makeFolder(parent);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        throw Failure(QStringLiteral("Cannot create the settings folder %1: %2")
                          .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    if (!QFileInfo(folder).isDir())
        throw Failure(QStringLiteral("Cannot create the settings folder %1").arg(folder));
}

// An existing store that others may read loses those bits before it is
// rewritten, since the writer keeps the permissions of the file it replaces.
void makeOwnerOnly(const QString& path) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    if ((st.st_mode & 07777) != 0600) ::chmod(name.constData(), 0600);
}

}  // namespace

QString SettingsStore::defaultPath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + QLatin1String(kApplication) + QLatin1Char('/') +
           QLatin1String(kApplication) + QStringLiteral(".ini");
}

SettingsStore::SettingsStore(QString iniPath, QString section)
    : path_(std::move(iniPath)), section_(std::move(section)) {}

SettingsStore::Loaded SettingsStore::load(const QString& path) {
    const QString unusable = QStringLiteral(
        "The settings file %1 cannot be used: %2.\nTallowby goes on with its defaults and does "
        "not write settings to that file.");
    // Non-blocking, so a FIFO at the path cannot hold the program up.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {};
        return {{}, unusable.arg(path, QString::fromLocal8Bit(std::strerror(errno))), false};
    }
    struct stat st {};
    ini_text::LineReader lines;
    std::optional<QString> refused;
    if (::fstat(fd, &st) != 0) {
        refused = QString::fromLocal8Bit(std::strerror(errno));
    } else if (const auto kind = output_target::kindRefused(st.st_mode)) {
        refused = kind;
    } else if (st.st_size > kLargestStore) {
        refused = QStringLiteral("it is too large");
    } else {
        char buffer[64 * 1024];
        qint64 total = 0;
        while (true) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                refused = QString::fromLocal8Bit(std::strerror(errno));
                break;
            }
            if (n == 0) break;
            total += n;
            if (total > kLargestStore) {
                refused = QStringLiteral("it is too large");
                break;
            }
            lines.add(buffer, n);
        }
    }
    ::close(fd);
    if (refused) return {{}, unusable.arg(path, *refused), false};
    if (const auto why = lines.finish()) {
        return {{},
                QStringLiteral("The settings file %1 is damaged: %2.\nTallowby goes on with its "
                               "defaults and, before it saves a setting, keeps that file as %3.")
                    .arg(path, *why, damagedName(path)),
                true};
    }
    return {lines.take(), std::nullopt, true};
}

// What is odd about a readable file's shape, worded for the user, if anything.
std::optional<QString> SettingsStore::shapeProblem(const QByteArrayList& lines) const {
    const bool blank = std::all_of(lines.begin(), lines.end(), isBlankLine);
    if (blank) return std::nullopt;
    const ini_text::SectionShape shape = ini_text::shapeOf(lines, section_);
    if (!shape.present)
        return QStringLiteral(
                   "The settings file %1 has no [%2] section.\nTallowby goes on with "
                   "its defaults and adds the section when it saves a setting.")
            .arg(path_, section_);
    if (!shape.repeatedKeys.isEmpty())
        return QStringLiteral(
                   "The settings file %1 gives %2 more than once in its [%3] "
                   "section.\nTallowby uses the first of each and leaves the others "
                   "as they are.")
            .arg(path_, shape.repeatedKeys.join(QStringLiteral(", ")), section_);
    return std::nullopt;
}

bool SettingsStore::holdsSection() const {
    ensureLoaded();
    return ini_text::shapeOf(lines_, section_).present;
}

void SettingsStore::ensureLoaded() const {
    if (loaded_) return;
    loaded_ = true;
    Loaded loaded = load(path_);
    lines_ = std::move(loaded.lines);
    writable_ = loaded.mayReplace;
    damaged_ = loaded.problem && loaded.mayReplace;
    if (!loaded.problem) loaded.problem = shapeProblem(lines_);
    if (loaded.problem && notice_) notice_(*loaded.problem);
}

QString SettingsStore::value(const QString& key, const QString& defaultValue) const {
    ensureLoaded();
    const auto found = ini_text::find(lines_, section_, key);
    return found ? *found : defaultValue;
}

bool SettingsStore::readValueInPieces(const QString& key,
                                      const std::function<void(QByteArrayView utf8)>& take) const {
    ensureLoaded();
    const auto raw = ini_text::findRaw(lines_, section_, key);
    if (!raw) return false;
    ini_text::decodeValueInPieces(*raw, take);
    return true;
}

void SettingsStore::keepDamagedFile() {
    const QByteArray from = QFile::encodeName(path_);
    // link() never replaces an existing name, so no earlier copy is lost.
    while (true) {
        const QByteArray to = QFile::encodeName(damagedName(path_));
        if (::link(from.constData(), to.constData()) == 0) break;
        if (errno == EEXIST) continue;
        if (errno == ENOENT) {  // gone meanwhile: nothing left to keep
            damaged_ = false;
            return;
        }
        throw Failure(QStringLiteral("Cannot keep the damaged settings file %1: %2")
                          .arg(path_, QString::fromLocal8Bit(std::strerror(errno))));
    }
    ::unlink(from.constData());
    damaged_ = false;
}

void SettingsStore::setValue(const QString& key, const QString& text) {
    setValues({{key, text}});
}

void SettingsStore::setValues(const Values& values) {
    ensureLoaded();
    QByteArrayList next = lines_;
    for (const auto& [key, text] : values) ini_text::set(next, section_, key, text);
    // The file already says this: nothing to write.
    if (next == lines_ && !unsaved_) return;
    lines_ = std::move(next);
    unsaved_ = true;
    if (!writable_) return;  // told at load time; the value lives for this run only

    makeFolder(QFileInfo(path_).absolutePath());
    if (damaged_) keepDamagedFile();
    QByteArray bytes = lines_.join('\n');
    bytes.append('\n');
    makeOwnerOnly(path_);
    writeFileAtomically(path_, bytes, 0600);
    unsaved_ = false;
}

}  // namespace tallowby
