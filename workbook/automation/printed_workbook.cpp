#include "workbook/automation/printed_workbook.h"

#include <cmath>

#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/numfmt/number_format.h"
#include "workbook/engine/numfmt/serial_date.h"
#include "workbook/engine/print/locale_paper.h"
#include "workbook/engine/print/pdf_document.h"
#include "workbook/engine/print/sheet_page.h"

namespace tallowby::automation {

namespace {
const engine::Cell* firstSheetCell(const engine::Workbook& workbook, int row, int column) {
    if (workbook.sheets.empty() || row < 1 || column < 1 || row > 65536 || column > 256)
        return nullptr;
    return workbook.sheets[0].find(static_cast<uint16_t>(row - 1),
                                   static_cast<uint16_t>(column - 1));
}
}  // namespace

PrintedWorkbook::PrintedWorkbook(const QString& path)
    : model_(
          std::make_shared<const engine::Workbook>(engine::readWorkbookFile(path.toStdString()))) {}

QString PrintedWorkbook::cellText(int row, int column) const {
    const engine::Cell* cell = firstSheetCell(*model_, row, column);
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

QDate PrintedWorkbook::cellDate(int row, int column) const {
    const engine::Cell* cell = firstSheetCell(*model_, row, column);
    if (!cell || cell->value.type != engine::CellValue::Type::Number ||
        !std::isfinite(cell->value.number) || cell->value.number < 1 ||
        cell->value.number > engine::kMaxDateSerial)
        return {};
    const auto date =
        engine::dateFromSerial(static_cast<int64_t>(cell->value.number), model_->date1904);
    return date ? QDate(date->year, date->month, date->day) : QDate();
}

PaperSize PrintedWorkbook::setupPaper(const QLocale& locale) const {
    const auto& setup = model_->sheets.at(static_cast<size_t>(model_->activeSheet)).pageSetup.setup;
    return setup ? engine::print::paperForCode(setup->paperSize).value_or(localePaper(locale))
                 : localePaper(locale);
}

PaperSize PrintedWorkbook::localePaper(const QLocale& locale) {
    return engine::print::paperForLocale(locale);
}

bool PrintedWorkbook::landscapeOn(PaperSize paper) const {
    return engine::print::layoutSheet(*model_, model_->activeSheet, paper).landscape;
}

void PrintedWorkbook::paintPage(QPainter& painter, PaperSize paper, const QLocale& locale) const {
    const auto layout = engine::print::layoutSheet(*model_, model_->activeSheet, paper);
    engine::print::paintSheetPage(painter, *model_, model_->activeSheet,
                                  engine::FormatLocale::fromQLocale(locale), layout);
}

QByteArray PrintedWorkbook::pdf(PaperSize paper, const QLocale& locale,
                                const QString& title) const {
    engine::print::PdfDocumentInfo info;
    info.title = title;
    return engine::print::sheetToPdf(*model_, model_->activeSheet,
                                     engine::FormatLocale::fromQLocale(locale), paper, info);
}

}  // namespace tallowby::automation
