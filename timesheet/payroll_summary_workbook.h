#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

#include "timesheet/payroll_summary.h"

// The payroll summary as a workbook, built through the workbook facade, and
// read back so summaries of shards can be merged. One sheet, "Payroll Summary":
//   row 1  the title
//   row 3  "Hours" over the hours columns, "Pay" over the pay columns
//   row 4  Employee | Supervisor | Company | Week Start | one column per rate
//          type | Total Hours | one column per rate type | Total Pay | Timesheet
//   rows   one per timesheet; a rate type the timesheet does not have is blank
//   last   "Grand Total": SUM of every column of figures
// Hours are day fractions shown "[h]:mm", pay "#,##0.00" and the totals of pay
// in the timesheet's accounting format, as the timesheet shows them. Each
// row's totals and the grand totals are SUM formulas whose cached results the
// engine computed, so any spreadsheet program shows and recalculates them.
namespace tallowby::payroll_summary {

inline constexpr const char* kSummaryTitle = "Payroll Summary";

// Writes the summary to `path`, replacing it all-or-nothing: `.xlsx` names
// an Office Open XML workbook (built in `scratchFolder`), anything else the
// Excel 97-2003 format. Returns what the format cannot hold (one sentence
// each). Throws a Failure when the summary cannot be built or written (more
// rate types than a sheet has columns for, a full disk).
QStringList writeSummaryWorkbook(const PayrollSummary& summary, const QString& path,
                                 const QString& scratchFolder);

// The summary as the engine draws it, for pictures of it.
QImage summaryPicture(const PayrollSummary& summary, double pixelRatio = 1.0);

// The rows of a summary workbook this program wrote (Excel 97-2003 only: the
// engine reads no .xlsx). Throws a Failure saying why a file is no such
// summary or cannot be read.
std::vector<SummaryRow> readSummaryWorkbook(const QString& path);

// Whether the file is a summary workbook this program wrote; a timesheet
// workbook, say, is not. Never throws.
bool isSummaryWorkbook(const QString& path);

}  // namespace tallowby::payroll_summary
