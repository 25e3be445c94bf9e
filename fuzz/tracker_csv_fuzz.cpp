// A tracker's CSV export read from arbitrary bytes: the reader, the column
// mapping and the rows turned into hours entries.
// Input: one byte of switches (locale, where to stop), then the file.
#include <QBuffer>
#include <QLocale>
#include <cstdint>
#include <cstdlib>

#include "timesheet/import/hours_import.h"

namespace {

using namespace tallowby;

// What the reader promises about every row it hands over.
void checkRows(const QByteArray& bytes, int stopAfter) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    qint64 lastLine = 0;
    int rows = 0;
    const CsvReadSummary summary = CsvReader::read(buffer, [&](const CsvRow& row) {
        if (row.line < 1 || row.line < lastLine) std::abort();
        lastLine = row.line;
        if (row.fields.size() > static_cast<std::size_t>(CsvReader::kMostFields)) std::abort();
        for (const std::string& field : row.fields) {
            if (static_cast<qsizetype>(field.size()) > CsvReader::kLongestField + 64 * 1024)
                std::abort();
            if (row.problem.isEmpty() && !csv_text::isValidUtf8(field.data(), field.size()))
                std::abort();
        }
        return ++rows != stopAfter;
    });
    if (summary.rows != rows) std::abort();
    if (summary.complete && !summary.error.isEmpty()) std::abort();
    if (summary.separator != ',' && summary.separator != ';' && summary.separator != '\t')
        std::abort();
}

// Every row below the header is imported or left out for one reason.
void checkImport(const QByteArray& bytes, const QLocale& locale) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const TrackerFile file = readTrackerFile(buffer, {{}, std::nullopt, locale});
    if (!file.error.isEmpty()) return;
    ImportTarget target{QDate(2027, 1, 4), {{"Regular", "10"}, {"Overtime", "15"}}, {}, {}, locale};
    const HoursImport imported = importHours(file, target);
    if (static_cast<qint64>(imported.entries.size()) + imported.leftOutCount() != file.dataRows)
        std::abort();
    for (const HoursEntry& entry : imported.entries) {
        const int day = entry.dayIndex.toInt();
        const int rate = entry.rateIndex.toInt();
        if (day < 0 || day > 6 || rate < 0 || rate > 1) std::abort();
        if (!tracker_values::parseDuration(entry.hours, QLocale::c())) std::abort();
    }
    if (imported.leftOutCount() > 0 && leftOutMessage(imported, target.weekStart, locale).isEmpty())
        std::abort();
    busiestWeekStart(file, target.weekStart);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale kLocales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                                       QLocale(QLocale::German, QLocale::Germany),
                                       QLocale(QLocale::English, QLocale::UnitedKingdom),
                                       QLocale::c()};
    if (size < 1) return 0;
    const uint8_t switches = data[0];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    checkRows(bytes, (switches >> 2) & 0x7);
    checkImport(bytes, kLocales[switches & 0x3]);
    return 0;
}
