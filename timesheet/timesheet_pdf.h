#pragma once

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/print/page_layout.h"

namespace tallowby {

// Who and which week a filled timesheet is for, read back from the cells the
// generation run fills (employee G5, week start G9).
struct TimesheetIdentity {
    QString employee;
    QDate weekStart;        // invalid when the cell holds no date
    QString weekStartText;  // the cell's text when it holds no date
};
TimesheetIdentity timesheetIdentity(const engine::Workbook& workbook);

// "Employee Timesheet – <employee> – week of <yyyy-MM-dd>".
QString timesheetPdfTitle(const TimesheetIdentity& identity);

// "Timesheet <employee> <yyyy-MM-dd>.pdf", with characters that file
// systems refuse replaced.
QString suggestedPdfFileName(const TimesheetIdentity& identity);

// The one-page PDF of a filled timesheet workbook file, on the paper given
// (the locale's default when none), its numbers shown in the locale. Throws
// std::runtime_error with a description when the file cannot be read or drawn.
QByteArray timesheetPdf(const QString& workbookPath, const QLocale& locale,
                        std::optional<engine::print::PaperSize> paper = std::nullopt);

}  // namespace tallowby
