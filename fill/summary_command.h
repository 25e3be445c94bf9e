#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

#include "timesheet/timesheet_record.h"

// tallowby-fill's payroll summary: one workbook with a row per timesheet.
namespace tallowby::fill {

// A timesheet to summarize: the file it was read from (its name is the
// row's "Timesheet") and its record as read.
struct SummaryInput {
    QString source;
    TimesheetRecord record;
};

// Writes the payroll summary of the timesheets to `out`, all-or-nothing
// (.xlsx for an Office Open XML workbook, else Excel 97-2003). Returns 0,
// or 2 with the reason on `err` when it cannot be written. A batch calls it
// with the timesheets it made.
int writeSummary(const std::vector<SummaryInput>& timesheets, const QString& out, QTextStream& err);

// --summary-only: the summary straight from timesheet files (INI files in
// the store's format) and folders of them (their *.ini files, sorted by
// name), without making the timesheets. 0 done; 1 written, but some files
// were left out (each named on `err`) or read with notices; 2 nothing written.
int summarizeTimesheetFiles(const QStringList& inputs, const QString& out, QTextStream& err);

// --summary over summaries: merges the summary workbooks (.xls) made by
// --summary, and those in the folders given (other workbooks there, such
// as the timesheets of a batch, are passed over), into one: rows sorted
// again, rate types united, totals recomputed. Exit codes as above.
int mergeSummaries(const QStringList& inputs, const QString& out, QTextStream& err);

}  // namespace tallowby::fill
