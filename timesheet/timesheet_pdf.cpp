#include "timesheet/timesheet_pdf.h"

#include <cmath>

#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/numfmt/number_format.h"
#include "workbook/engine/numfmt/serial_date.h"
#include "workbook/engine/print/locale_paper.h"
#include "workbook/engine/print/pdf_document.h"

namespace tallowby {

namespace {

constexpr uint16_t kEmployeeRow = 4, kEmployeeCol = 6;    // G5
constexpr uint16_t kWeekStartRow = 8, kWeekStartCol = 6;  // G9

QString cellText(const engine::Sheet& sheet, uint16_t row, uint16_t col) {
    const engine::Cell* cell = sheet.find(row, col);
    if (!cell) return {};
    switch (cell->value.type) {
        case engine::CellValue::Type::Text:
            return QString::fromStdString(cell->value.text).trimmed();
        case engine::CellValue::Type::Number:
            return QString::fromStdString(
                engine::formatGeneral(cell->value.number, engine::FormatLocale::english()));
        default:
            return {};
    }
}

QString weekText(const TimesheetIdentity& identity) {
    return identity.weekStart.isValid() ? identity.weekStart.toString(Qt::ISODate)
                                        : identity.weekStartText;
}

}  // namespace

TimesheetIdentity timesheetIdentity(const engine::Workbook& workbook) {
    TimesheetIdentity identity;
    if (workbook.sheets.empty()) return identity;
    const engine::Sheet& sheet = workbook.sheets[0];
    identity.employee = cellText(sheet, kEmployeeRow, kEmployeeCol);
    const engine::Cell* week = sheet.find(kWeekStartRow, kWeekStartCol);
    if (week && week->value.type == engine::CellValue::Type::Number &&
        std::isfinite(week->value.number) && week->value.number >= 1 &&
        week->value.number <= engine::kMaxDateSerial) {
        const auto date =
            engine::dateFromSerial(static_cast<int64_t>(week->value.number), workbook.date1904);
        if (date) identity.weekStart = QDate(date->year, date->month, date->day);
    }
    if (!identity.weekStart.isValid())
        identity.weekStartText = cellText(sheet, kWeekStartRow, kWeekStartCol);
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
                        std::optional<engine::print::PaperSize> paper) {
    const engine::Workbook workbook = engine::readWorkbookFile(workbookPath.toStdString());
    engine::print::PdfDocumentInfo info;
    info.title = timesheetPdfTitle(timesheetIdentity(workbook));
    return engine::print::sheetToPdf(workbook, workbook.activeSheet,
                                     engine::FormatLocale::fromQLocale(locale),
                                     paper.value_or(engine::print::paperForLocale(locale)), info);
}

}  // namespace tallowby
