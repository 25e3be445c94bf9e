#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "timesheet/import/hours_import.h"

namespace tallowby {

// What the import window decides, held outside the window: the file read
// once per choice of columns, the week, each unknown type's rate, and the
// entries and left-out rows that follow from them.
class HoursImportPlan {
  public:
    HoursImportPlan(const QString& path, QDate weekStart, std::vector<RateEntry> rates,
                    QLocale locale);

    const TrackerFile& file() const { return file_; }
    const HoursImport& result() const { return result_; }
    QDate weekStart() const { return target_.weekStart; }
    const std::vector<RateEntry>& rates() const { return target_.rates; }

    // Reads the file again with these column positions.
    void chooseColumns(const tracker_columns::Columns& columns);
    void setWeekStart(QDate start);
    // -1 leaves the type's rows out again.
    void mapType(const QString& typeText, int rateIndex);
    int mappedRate(const QString& typeText) const;

    // Type texts of the file that no rate is named after, in file order.
    QStringList unknownTypes() const;
    std::optional<QDate> busiestWeekStart() const {
        return tallowby::busiestWeekStart(file_, weekStart());
    }
    qint64 rowsInWeek(QDate start) const;

    bool canImport() const { return file_.error.isEmpty() && !result_.entries.empty(); }
    // What the window says under its choices: the file's fault, or how many
    // rows will be imported and which are left out.
    QString summary() const;

  private:
    void read(const TrackerReadOptions& options);
    void recompute() { result_ = importHours(file_, target_); }

    QString path_;
    TrackerFile file_;
    ImportTarget target_;
    HoursImport result_;
};

}  // namespace tallowby
