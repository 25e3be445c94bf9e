#pragma once

#include <QByteArray>
#include <QString>

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/numfmt/number_format.h"
#include "workbook/engine/print/page_layout.h"

namespace tallowby::engine::print {

struct PdfDocumentInfo {
    QString title;
    QString creator = QStringLiteral("Tallowby");
    QString fileName;  // what a header's or footer's &F shows
};

// A one-page PDF of the sheet's printed range on the paper, laid out by the
// sheet's page setup: vector lines, text as text with its fonts embedded.
// Throws std::runtime_error when the sheet has nothing to print or drawing
// needs a QGuiApplication that is not running.
QByteArray sheetToPdf(const Workbook& workbook, int sheetIndex, const FormatLocale& locale,
                      PaperSize paper, const PdfDocumentInfo& info);

}  // namespace tallowby::engine::print
