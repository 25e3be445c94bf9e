#include "app/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <utility>

#include "app/failure.h"
#include "app/ini_text.h"

namespace tallowby {

namespace {

// Far beyond anything the program writes; a bigger file is not ours to load.
constexpr qint64 kLargestStore = 64 * 1024 * 1024;

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(
            QStringLiteral("Cannot read the settings file %1: %2").arg(path, file.errorString()));
    if (file.size() > kLargestStore)
        throw Failure(QStringLiteral("The settings file %1 is too large").arg(path));
    QString text = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError)
        throw Failure(
            QStringLiteral("Cannot read the settings file %1: %2").arg(path, file.errorString()));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
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

QString SettingsStore::GetSetting(const QString& key, const QString& defaultValue) const {
    const auto found = ini_text::find(readLines(path_), section_, key);
    return found ? *found : defaultValue;
}

void SettingsStore::SaveSetting(const QString& key, const QString& text) {
    QStringList lines = readLines(path_);
    ini_text::set(lines, section_, key, text);

    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        throw Failure(QStringLiteral("Cannot create the settings folder %1").arg(folder));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(
            QStringLiteral("Cannot write the settings file %1: %2").arg(path_, file.errorString()));
    QByteArray bytes = lines.join(QLatin1Char('\n')).toUtf8();
    bytes.append('\n');
    file.write(bytes);
    if (!file.commit())
        throw Failure(
            QStringLiteral("Cannot write the settings file %1: %2").arg(path_, file.errorString()));
}

}  // namespace tallowby
