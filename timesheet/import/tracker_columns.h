#pragma once

#include <QString>
#include <QStringList>

// Which columns of a tracker's export hold the date, the duration, the start
// and end times and the kind of work, found by their headers.
namespace tallowby::tracker_columns {

enum class Kind { Date, Duration, Start, End, Type };

// The headers looked for, in the order they are preferred.
QStringList knownHeaders(Kind kind);

// A header as it is compared: lower case, without spaces.
QString normalized(const QString& header);

// The user's own choice of header per kind; empty leaves it to the headers.
struct Chosen {
    QString date, duration, start, end, type;
};

// Column positions; -1 when the file has none.
struct Columns {
    int date = -1;
    int duration = -1;
    int start = -1;
    int end = -1;
    int type = -1;
};

struct Found {
    Columns columns;
    QString error;  // a kind without a column, and the headers looked for
};

// Chosen names must be headers of the file; the date, the type and either a
// duration or both start and end times are needed.
Found find(const QStringList& header, const Chosen& chosen);

// The kinds the columns lack, and the headers that would have given them;
// empty when the columns are enough.
QString missingKinds(const Columns& columns);

}  // namespace tallowby::tracker_columns
