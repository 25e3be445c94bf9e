#include "timesheet/import/hours_import.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

#include "timesheet/week_start_date.h"

namespace tallowby {

namespace {

using tracker_values::DateText;

QString fieldText(const CsvRow& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.fields.size()) return {};
    const std::string& field = row.fields[static_cast<std::size_t>(column)];
    return QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size()));
}

bool isBlank(const CsvRow& row) {
    return std::all_of(row.fields.begin(), row.fields.end(), [](const std::string& f) {
        return f.find_first_not_of(" \t\r\n") == std::string::npos;
    });
}

QString shortened(const QString& text) {
    if (text.size() <= TrackerFile::kShownFieldLength) return text;
    return text.left(TrackerFile::kShownFieldLength) + QChar(0x2026);
}

// What reading collects beyond the file: the dates waiting for the order of
// slashed dates, the type texts seen so far.
class RowCollector {
  public:
    RowCollector(TrackerFile& file, const TrackerReadOptions& options)
        : file_(file), options_(options) {}

    bool take(const CsvRow& row) {
        if (!headerTaken_) return takeHeader(row);
        if (isBlank(row) && row.problem.isEmpty()) return true;
        ++file_.dataRows;
        if (file_.firstRows.size() < static_cast<std::size_t>(TrackerFile::kFirstRowsKept)) {
            QStringList shown;
            for (const std::string& f : row.fields)
                shown << shortened(QString::fromUtf8(f.data(), static_cast<qsizetype>(f.size())));
            file_.firstRows.push_back(shown);
        }
        if (!row.problem.isEmpty()) return unreadable(row.line, row.problem);
        const tracker_columns::Columns& c = file_.columns;
        const std::size_t width = static_cast<std::size_t>(file_.header.size());
        if (row.fields.size() > width &&
            std::any_of(row.fields.begin() + static_cast<std::ptrdiff_t>(width), row.fields.end(),
                        [](const std::string& f) { return !f.empty(); }))
            return unreadable(row.line, QStringLiteral("%1 fields where the header has %2")
                                            .arg(row.fields.size())
                                            .arg(width));
        // A row cut short has no reliable place for what it still holds.
        const int lastNeeded = std::max({c.date, c.duration, c.start, c.end, c.type});
        if (row.fields.size() <= static_cast<std::size_t>(lastNeeded))
            return unreadable(row.line, QStringLiteral("%1 fields where the header has %2")
                                            .arg(row.fields.size())
                                            .arg(width));
        const QString dateText = fieldText(row, c.date).trimmed();
        if (dateText.isEmpty()) return unreadable(row.line, QStringLiteral("no date"));
        const auto date = tracker_values::parseDate(dateText);
        if (!date)
            return unreadable(row.line,
                              QStringLiteral("\"%1\" is no date").arg(shortened(dateText)));
        std::optional<int> minutes;
        const QString durationText = fieldText(row, c.duration).trimmed();
        if (!durationText.isEmpty()) {
            minutes = tracker_values::parseDuration(durationText, options_.locale);
            if (!minutes)
                return unreadable(
                    row.line, QStringLiteral("\"%1\" are no hours").arg(shortened(durationText)));
        } else {
            const QString startText = fieldText(row, c.start).trimmed();
            const QString endText = fieldText(row, c.end).trimmed();
            if (startText.isEmpty() || endText.isEmpty())
                return unreadable(row.line, QStringLiteral("no hours"));
            const auto start = tracker_values::parseTimeOfDay(startText);
            const auto end = tracker_values::parseTimeOfDay(endText);
            if (!start || !end)
                return unreadable(row.line, QStringLiteral("\"%1\" is no time of day")
                                                .arg(shortened(start ? endText : startText)));
            minutes = tracker_values::minutesBetween(*start, *end);
        }
        if (date->form == DateText::Form::Slashed && !settled_) {
            if (date->first > 12)
                settle(true);
            else if (date->second > 12)
                settle(false);
        }
        const Pending taken{row.line, *date, *minutes, typeIndex(fieldText(row, c.type).trimmed())};
        // Only slashed dates wait, and only until the file settles their order.
        if (date->form == DateText::Form::Slashed && !settled_)
            pending_.push_back(taken);
        else
            keep(taken);
        return true;
    }

    // The waiting dates become days; rows go back into file order.
    void finish() {
        if (!settled_)
            file_.slashedDayFirst = tracker_values::localeWritesDayFirst(options_.locale);
        keepPending();
        const auto byLine = [](const auto& a, const auto& b) { return a.line < b.line; };
        if (!std::is_sorted(file_.rows.begin(), file_.rows.end(), byLine))
            std::stable_sort(file_.rows.begin(), file_.rows.end(), byLine);
        std::stable_sort(file_.unreadable.begin(), file_.unreadable.end(), byLine);
    }

  private:
    struct Pending {
        qint64 line;
        DateText date;
        int minutes;
        int type;
    };

    bool takeHeader(const CsvRow& row) {
        headerTaken_ = true;
        for (const std::string& f : row.fields)
            file_.header << QString::fromUtf8(f.data(), static_cast<qsizetype>(f.size())).trimmed();
        // A byte-order mark inside the text (files glued together) is no part of a name.
        if (!file_.header.isEmpty() && file_.header[0].startsWith(QChar(0xFEFF)))
            file_.header[0].remove(0, 1);
        if (!row.problem.isEmpty()) {
            file_.error =
                QStringLiteral("line %1: the header row %2").arg(row.line).arg(row.problem);
            return false;
        }
        if (options_.fixedColumns) {
            file_.columns = *options_.fixedColumns;
            file_.error = tracker_columns::missingKinds(file_.columns);
        } else {
            const tracker_columns::Found found =
                tracker_columns::find(file_.header, options_.columns);
            file_.columns = found.columns;
            file_.error = found.error;
        }
        return true;  // the first rows are still shown when a column is missing
    }

    bool unreadable(qint64 line, const QString& reason) {
        file_.unreadable.push_back({line, reason});
        return true;
    }

    void settle(bool dayFirst) {
        settled_ = true;
        file_.slashedDayFirst = dayFirst;
        keepPending();
    }

    void keep(const Pending& p) {
        if (const auto day = tracker_values::toDate(p.date, file_.slashedDayFirst))
            file_.rows.push_back({p.line, *day, p.minutes, p.type});
        else
            file_.unreadable.push_back({p.line, QStringLiteral("no such day")});
    }

    void keepPending() {
        for (const Pending& p : pending_) keep(p);
        pending_ = {};
    }

    int typeIndex(const QString& text) {
        // Most rows repeat a type word for word; only new spellings are folded.
        if (const auto seen = seenTexts_.constFind(text); seen != seenTexts_.constEnd())
            return seen.value();
        const int index = foldedIndex(text);
        seenTexts_.insert(text, index);
        return index;
    }

    int foldedIndex(const QString& text) {
        const QString key = typeKey(text);
        const auto it = typeIndexes_.find(key);
        if (it != typeIndexes_.end()) return it->second;
        const int index = static_cast<int>(file_.types.size());
        file_.types << text;
        typeIndexes_.emplace(key, index);
        return index;
    }

    TrackerFile& file_;
    const TrackerReadOptions& options_;
    std::vector<Pending> pending_;
    std::map<QString, int> typeIndexes_;
    QHash<QString, int> seenTexts_;
    bool settled_ = false;
    bool headerTaken_ = false;
};

QString lineList(const std::vector<qint64>& lines, int listed) {
    QStringList shown;
    for (std::size_t i = 0; i < lines.size() && i < static_cast<std::size_t>(listed); ++i)
        shown << QString::number(lines[i]);
    QString text = (lines.size() == 1 ? QStringLiteral("line ") : QStringLiteral("lines ")) +
                   shown.join(QStringLiteral(", "));
    if (lines.size() > static_cast<std::size_t>(listed)) text += QStringLiteral(", …");
    return text;
}

}  // namespace

TrackerFile readTrackerFile(QIODevice& in, const TrackerReadOptions& options) {
    TrackerFile file;
    RowCollector collector(file, options);
    file.csv = CsvReader::read(in, [&](const CsvRow& row) { return collector.take(row); });
    collector.finish();
    if (file.error.isEmpty() && !file.csv.error.isEmpty()) file.error = file.csv.error;
    if (file.error.isEmpty() && file.dataRows == 0)
        file.error = QStringLiteral("it holds a header row and no hours below it");
    return file;
}

TrackerFile readTrackerFile(const QString& path, const TrackerReadOptions& options) {
    QFile in(path);
    if (QFileInfo(path).isDir()) {
        TrackerFile file;
        file.error = QStringLiteral("it is a folder");
        return file;
    }
    if (!in.open(QIODevice::ReadOnly)) {
        TrackerFile file;
        file.error = in.errorString();
        return file;
    }
    return readTrackerFile(in, options);
}

QString typeKey(const QString& typeText) {
    return typeText.trimmed().toCaseFolded();
}

int rateIndexFor(const std::vector<RateEntry>& rates, const QString& typeText) {
    const QString key = typeKey(typeText);
    for (std::size_t i = 0; i < rates.size(); ++i)
        if (typeKey(rates[i].description) == key) return static_cast<int>(i);
    return -1;
}

HoursImport importHours(const TrackerFile& file, const ImportTarget& target) {
    HoursImport result;
    result.unreadable = file.unreadable;
    // Each type's rate, worked out once.
    std::vector<int> rateOfType;
    for (const QString& type : file.types) {
        int rate = rateIndexFor(target.rates, type);
        if (rate < 0) {
            const auto mapped = target.mapping.find(typeKey(type));
            if (mapped != target.mapping.end())
                rate = mapped->second;
            else if (target.unknownTypeRate)
                rate = *target.unknownTypeRate;
        }
        if (rate >= static_cast<int>(target.rates.size())) rate = -1;
        rateOfType.push_back(rate);
    }
    // Texts made once and shared by every entry that holds them.
    QStringList dayTexts, dayIndexes, rateIndexes;
    for (int i = 0; i < 7; ++i) {
        dayTexts << week_start_date::dayChoiceText(target.weekStart.addDays(i), target.locale);
        dayIndexes << QString::number(i);
    }
    for (std::size_t i = 0; i < target.rates.size(); ++i) rateIndexes << QString::number(i);
    std::vector<bool> unknownNamed(file.types.size(), false);
    result.entries.reserve(file.rows.size());
    for (const TrackerRow& row : file.rows) {
        const qint64 day = target.weekStart.daysTo(row.date);
        if (day < 0 || day > 6) {
            result.outsideWeek.push_back(row.line);
            continue;
        }
        const int rate = rateOfType[static_cast<std::size_t>(row.type)];
        if (rate < 0) {
            result.unknownType.push_back(row.line);
            if (!unknownNamed[static_cast<std::size_t>(row.type)]) {
                unknownNamed[static_cast<std::size_t>(row.type)] = true;
                result.unknownTypes << file.types[row.type];
            }
            continue;
        }
        result.entries.push_back({dayTexts[static_cast<qsizetype>(day)],
                                  target.rates[static_cast<std::size_t>(rate)].description,
                                  tracker_values::hoursText(row.minutes),
                                  dayIndexes[static_cast<qsizetype>(day)], rateIndexes[rate]});
    }
    return result;
}

QString leftOutMessage(const HoursImport& import, QDate weekStart, const QLocale& locale,
                       int linesListed) {
    if (import.leftOutCount() == 0) return {};
    QStringList parts;
    if (!import.outsideWeek.empty())
        parts << QStringLiteral("%1 outside the week of %2 (%3)")
                     .arg(import.outsideWeek.size())
                     .arg(locale.toString(weekStart, QLocale::ShortFormat),
                          lineList(import.outsideWeek, linesListed));
    if (!import.unknownType.empty()) {
        QStringList names;
        for (qsizetype i = 0; i < import.unknownTypes.size() && i < linesListed; ++i)
            names << QStringLiteral("\"%1\"").arg(shortened(import.unknownTypes[i]));
        if (import.unknownTypes.size() > linesListed) names << QStringLiteral("…");
        parts << QStringLiteral("%1 of a type no hour rate is named after: %2 (%3)")
                     .arg(import.unknownType.size())
                     .arg(names.join(QStringLiteral(", ")),
                          lineList(import.unknownType, linesListed));
    }
    if (!import.unreadable.empty()) {
        std::vector<qint64> lines;
        for (const UnreadableRow& row : import.unreadable) lines.push_back(row.line);
        const UnreadableRow& first = import.unreadable.front();
        parts << (lines.size() == 1 ? QStringLiteral("1 that cannot be read (line %1: %2)")
                                          .arg(first.line)
                                          .arg(first.reason)
                                    : QStringLiteral("%1 that cannot be read (%2; line %3: %4)")
                                          .arg(lines.size())
                                          .arg(lineList(lines, linesListed))
                                          .arg(first.line)
                                          .arg(first.reason));
    }
    const qint64 all = import.leftOutCount() + static_cast<qint64>(import.entries.size());
    return QStringLiteral("%1 of %2 rows were not imported: %3.")
        .arg(import.leftOutCount())
        .arg(all)
        .arg(parts.join(QStringLiteral("; ")));
}

std::optional<QDate> busiestWeekStart(const TrackerFile& file, QDate weekStart) {
    std::map<QDate, qint64> counts;
    for (const TrackerRow& row : file.rows) {
        const qint64 offset = weekStart.daysTo(row.date);
        const qint64 intoWeek = ((offset % 7) + 7) % 7;
        ++counts[row.date.addDays(-intoWeek)];
    }
    std::optional<QDate> best;
    qint64 most = 0;
    for (const auto& [start, count] : counts)
        if (count > most) {
            most = count;
            best = start;
        }
    return best;
}

}  // namespace tallowby
