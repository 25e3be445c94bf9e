#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <span>
#include <string>

#include "timesheet/import/csv_text.h"

class QIODevice;

namespace tallowby {

// One row as the file holds it: its fields as UTF-8 bytes, quotes removed.
struct CsvRow {
    qint64 line = 0;  // the line it starts on, 1-based
    std::span<const std::string> fields;
    QString
        problem;  // why it cannot be read (a NUL byte, bytes that are not UTF-8); empty when fine
};

// What a read found out about the file; `error` says why it stopped early or
// could not be read at all (rows already handed over stay handed over).
struct CsvReadSummary {
    QString error;
    csv_text::Encoding encoding = csv_text::Encoding::Utf8;
    char separator = ',';
    qint64 rows = 0;        // handed over, the header among them
    bool complete = false;  // read to the end without an error
};

// Reads CSV text (RFC 4180 fields, quotes doubled inside quoted fields, line
// breaks inside them, CRLF or LF, a last line without a break) a block at a
// time and hands each row to `onRow`, the header first; `onRow` returns false
// to stop. Encoding (byte-order mark) and separator (comma, semicolon or tab,
// from the header line) are detected. Memory stays within a block, the row
// being read and whatever `onRow` keeps.
class CsvReader {
  public:
    // Fields longer than this stop the read: past it a quote left open would
    // take the rest of the file into one field.
    static constexpr qsizetype kLongestField = 8 * 1024 * 1024;
    static constexpr int kMostFields = 10000;

    static CsvReadSummary read(QIODevice& in, const std::function<bool(const CsvRow&)>& onRow);
};

}  // namespace tallowby
