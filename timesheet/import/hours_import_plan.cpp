#include "timesheet/import/hours_import_plan.h"

#include <QFileInfo>

namespace tallowby {

HoursImportPlan::HoursImportPlan(const QString& path, QDate weekStart, std::vector<RateEntry> rates,
                                 QLocale locale)
    : path_(path), target_{weekStart, std::move(rates), {}, std::nullopt, std::move(locale)} {
    read({{}, std::nullopt, target_.locale});
}

void HoursImportPlan::read(const TrackerReadOptions& options) {
    file_ = readTrackerFile(path_, options);
    recompute();
}

void HoursImportPlan::chooseColumns(const tracker_columns::Columns& columns) {
    read({{}, columns, target_.locale});
}

void HoursImportPlan::setWeekStart(QDate start) {
    target_.weekStart = start;
    recompute();
}

void HoursImportPlan::mapType(const QString& typeText, int rateIndex) {
    if (rateIndex < 0)
        target_.mapping.erase(typeKey(typeText));
    else
        target_.mapping[typeKey(typeText)] = rateIndex;
    recompute();
}

int HoursImportPlan::mappedRate(const QString& typeText) const {
    const auto it = target_.mapping.find(typeKey(typeText));
    return it == target_.mapping.end() ? -1 : it->second;
}

QStringList HoursImportPlan::unknownTypes() const {
    QStringList unknown;
    for (const QString& type : file_.types)
        if (rateIndexFor(target_.rates, type) < 0) unknown << type;
    return unknown;
}

qint64 HoursImportPlan::rowsInWeek(QDate start) const {
    qint64 count = 0;
    for (const TrackerRow& row : file_.rows) {
        const qint64 day = start.daysTo(row.date);
        count += day >= 0 && day <= 6;
    }
    return count;
}

QString HoursImportPlan::summary() const {
    const QString name = QFileInfo(path_).fileName();
    if (!file_.error.isEmpty())
        return QStringLiteral("%1 cannot be imported: %2.").arg(name, file_.error);
    const auto imported = static_cast<qint64>(result_.entries.size());
    QString text = imported == 1 ? QStringLiteral("1 row will be imported.")
                                 : QStringLiteral("%1 rows will be imported.").arg(imported);
    const QString leftOut = leftOutMessage(result_, target_.weekStart, target_.locale);
    if (!leftOut.isEmpty()) text += QLatin1Char(' ') + leftOut;
    return text;
}

}  // namespace tallowby
