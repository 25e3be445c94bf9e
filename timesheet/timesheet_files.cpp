#include "timesheet/timesheet_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/settings_store.h"
#include "timesheet/settings_keys.h"
#include "timesheet/timesheet_store.h"

namespace tallowby::timesheet_files {

namespace {

bool countsInFolder(const QFileInfo& entry) {
    return entry.isFile() && !entry.fileName().startsWith(QLatin1Char('.')) &&
           entry.fileName().endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive);
}

}  // namespace

Found find(const QStringList& inputs) {
    Found found;
    QStringList candidates;
    for (const QString& input : inputs) {
        const QString cleaned = QDir::cleanPath(input);
        const QFileInfo info(cleaned);
        if (!info.exists()) {
            found.problems << QStringLiteral("%1 does not exist").arg(input);
        } else if (info.isDir()) {
            const QFileInfoList entries =
                QDir(cleaned).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
            qsizetype counted = 0;
            for (const QFileInfo& entry : entries)
                if (countsInFolder(entry)) {
                    candidates << (cleaned == QLatin1String("/") ? QString() : cleaned) +
                                      QLatin1Char('/') + entry.fileName();
                    ++counted;
                }
            if (counted == 0)
                found.problems
                    << QStringLiteral("the folder %1 holds no timesheet files (*.ini)").arg(input);
        } else {
            candidates << cleaned;
        }
    }
    // Plain code-unit order: the same on every machine, whatever its locale.
    std::sort(candidates.begin(), candidates.end());
    QSet<QString> seen;
    for (const QString& path : candidates) {
        const QFileInfo info(path);
        const QString same =
            info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
        if (seen.contains(same)) continue;
        seen.insert(same);
        found.files << path;
    }
    return found;
}

std::optional<QString> refusalOf(const SettingsStore& settings, const QString& path,
                                 const QString& notice) {
    if (settings.holdsSection()) return std::nullopt;
    // The notice's first line names the file and what is wrong with it; the
    // rest speaks of going on with defaults, which is never done with a file.
    if (!notice.isEmpty()) return notice.section(QLatin1Char('\n'), 0, 0);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("The timesheet file %1 cannot be read.").arg(path);
    return QStringLiteral("The timesheet file %1 has no [%2] section.")
        .arg(path, QLatin1String(SettingsStore::kSection));
}

Described describe(const QString& path, const QDate& today) {
    SettingsStore settings(path);
    QString notice;
    settings.setProblemNotice([&](const QString& text) { notice = text; });
    if (const auto refusal = refusalOf(settings, path, notice)) return {std::nullopt, *refusal};
    const TimesheetStore store(settings);
    const TimesheetStore::WeekStart week = store.weekStart(today);
    return {Heading{store.field(settings_keys::kEmployee), week.date.value_or(today)}, {}};
}

}  // namespace tallowby::timesheet_files
