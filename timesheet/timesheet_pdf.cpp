#include "timesheet/timesheet_pdf.h"

#include "timesheet/template_layout.h"

namespace tallowby {

namespace {

QString weekText(const TimesheetIdentity& identity) {
    return identity.weekStart.isValid() ? identity.weekStart.toString(Qt::ISODate)
                                        : identity.weekStartText;
}

}  // namespace

TimesheetIdentity timesheetIdentity(const automation::PrintedWorkbook& workbook) {
    using namespace template_layout;
    TimesheetIdentity identity;
    identity.employee = workbook.cellText(kEmployee.row, kEmployee.column);
    identity.weekStart = workbook.cellDate(kWeekStart.row, kWeekStart.column);
    if (!identity.weekStart.isValid())
        identity.weekStartText = workbook.cellText(kWeekStart.row, kWeekStart.column);
    return identity;
}

QString timesheetPdfTitle(const TimesheetIdentity& identity) {
    return QStringLiteral("Employee Timesheet \u2013 %1 \u2013 week of %2")
        .arg(identity.employee, weekText(identity));
}

QString suggestedPdfFileName(const TimesheetIdentity& identity) {
    QString name = QStringLiteral("Timesheet");
    if (!identity.employee.isEmpty()) name += QLatin1Char(' ') + identity.employee;
    if (!weekText(identity).isEmpty()) name += QLatin1Char(' ') + weekText(identity);
    // Slashes would make folders; the rest are refused on other systems' disks.
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20) c = QLatin1Char('-');
    return name + QStringLiteral(".pdf");
}

QByteArray timesheetPdf(const QString& workbookPath, const QLocale& locale,
                        std::optional<automation::PaperSize> paper) {
    const automation::PrintedWorkbook workbook(workbookPath);
    return workbook.pdf(paper.value_or(automation::PrintedWorkbook::localePaper(locale)), locale,
                        timesheetPdfTitle(timesheetIdentity(workbook)));
}

}  // namespace tallowby
