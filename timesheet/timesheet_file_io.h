#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include "timesheet/timesheet_record.h"

// A timesheet kept in a file of its own: an INI file in the settings store's
// format (section [Tallowby], the store's keys, the same packed lists), so
// `tallowby-fill --settings FILE` reads it as it is.
namespace tallowby::timesheet_file_io {

// The filter of the open and save dialogs, in the "Label|pattern|" form.
QString dialogFilter();

// The timesheet in the file, read by the store's rules (an absent week start
// is `today`, blank rates are the default ones). Throws tallowby::Failure
// with a message for the user when the file is not one: unreadable, not a
// regular file, not INI text, without a [Tallowby] section, a week start
// that is no date, a damaged list (a row with more fields than its list has
// columns, an entry whose day or rate index is out of range) or more rates
// than a sheet holds.
TimesheetRecord read(const QString& path, const QDate& today);

// The file's text for a timesheet: every general field, the week start and
// both lists, under [Tallowby].
QByteArray text(const TimesheetRecord& record);

// Writes the file all or nothing, a new one readable by its owner only;
// refuses folders, devices and FIFOs.
// Throws tallowby::Failure when it cannot.
void write(const QString& path, const TimesheetRecord& record);

// "Timesheet <employee> <yyyy-MM-dd>.ini", safe as a file name.
QString suggestedName(const TimesheetRecord& record);

}  // namespace tallowby::timesheet_file_io
