#pragma once

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

#include "workbook/automation/printed_workbook.h"

namespace tallowby {

// Who and which week a filled timesheet is for, read back from the cells the
// generation run fills (the employee and week-start cells of the template layout).
struct TimesheetIdentity {
    QString employee;
    QDate weekStart;        // invalid when the cell holds no date
    QString weekStartText;  // the cell's text when it holds no date
};
TimesheetIdentity timesheetIdentity(const automation::PrintedWorkbook& workbook);

// "Employee Timesheet – <employee> – week of <yyyy-MM-dd>".
QString timesheetPdfTitle(const TimesheetIdentity& identity);

// "Timesheet <employee> <yyyy-MM-dd>.pdf", with characters that file
// systems refuse replaced.
QString suggestedPdfFileName(const TimesheetIdentity& identity);

// The one-page PDF of a filled timesheet workbook file, on the paper given
// (the locale's default when none), its numbers shown in the locale. Throws
// std::runtime_error with a description when the file cannot be read or drawn.
QByteArray timesheetPdf(const QString& workbookPath, const QLocale& locale,
                        std::optional<automation::PaperSize> paper = std::nullopt);

}  // namespace tallowby
