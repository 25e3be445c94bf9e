#pragma once

#include <QDate>
#include <QIODevice>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "timesheet/import/csv_reader.h"
#include "timesheet/import/tracker_columns.h"
#include "timesheet/import/tracker_values.h"
#include "timesheet/timesheet_record.h"

namespace tallowby {

// A row that cannot be read, and why.
struct UnreadableRow {
    qint64 line = 0;
    QString reason;
};

// One readable row of a tracker's export.
struct TrackerRow {
    qint64 line = 0;
    QDate date;
    int minutes = 0;
    int type = 0;  // index into `TrackerFile::types`
};

// A tracker's CSV export read once: its rows, ready to be matched against any
// week and rate list.
struct TrackerFile {
    static constexpr int kFirstRowsKept = 20;
    static constexpr int kShownFieldLength = 200;

    QString error;  // the file cannot be read, or a kind of column is missing
    CsvReadSummary csv;
    QStringList header;
    std::vector<QStringList> firstRows;  // below the header, shortened for showing
    tracker_columns::Columns columns;
    bool slashedDayFirst = false;
    std::vector<TrackerRow> rows;           // in file order
    QStringList types;                      // the type texts as first written, trimmed
    std::vector<UnreadableRow> unreadable;  // in line order
    qint64 dataRows = 0;                    // rows below the header that are not blank
};

struct TrackerReadOptions {
    tracker_columns::Chosen columns;
    std::optional<tracker_columns::Columns> fixedColumns;  // positions chosen in a window
    QLocale locale;  // decimal comma, and slashed dates the file does not settle
};

TrackerFile readTrackerFile(QIODevice& in, const TrackerReadOptions& options);
TrackerFile readTrackerFile(const QString& path, const TrackerReadOptions& options);

// Type text (trimmed, lower case) → rate index, for types no rate is named after.
using TypeMapping = std::map<QString, int>;
QString typeKey(const QString& typeText);

// The rate whose description is the type text, case and outer spaces aside; -1 for none.
int rateIndexFor(const std::vector<RateEntry>& rates, const QString& typeText);

// The file's rows as hours entries of the week from `weekStart`, and the rows
// left out: outside the week, of a type no rate has and no mapping names,
// unreadable (line numbers in file order).
struct HoursImport {
    std::vector<HoursEntry> entries;
    std::vector<qint64> outsideWeek;
    std::vector<qint64> unknownType;
    QStringList unknownTypes;  // each type text once
    std::vector<UnreadableRow> unreadable;
    qint64 leftOutCount() const {
        return static_cast<qint64>(outsideWeek.size() + unknownType.size() + unreadable.size());
    }
};

struct ImportTarget {
    QDate weekStart;
    std::vector<RateEntry> rates;
    TypeMapping mapping;
    std::optional<int> unknownTypeRate;  // for every type neither a rate nor the mapping names
    QLocale locale;                      // the day texts of the entries
};

HoursImport importHours(const TrackerFile& file, const ImportTarget& target);

// The one message about the rows left out, or empty when none is: how many of
// each kind, with the first few line numbers.
QString leftOutMessage(const HoursImport& import, QDate weekStart, const QLocale& locale,
                       int linesListed = 5);

// The week start, on the same weekday as `weekStart`, of the week that holds
// most of the file's rows (the earliest of equals); nothing without rows.
std::optional<QDate> busiestWeekStart(const TrackerFile& file, QDate weekStart);

}  // namespace tallowby
