#include "workbook/engine/print/pdf_document.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <stdexcept>

#include "workbook/engine/print/sheet_page.h"

namespace tallowby::engine::print {

namespace {
// Device units per point; fine enough that positions need no rounding.
constexpr int kUnitsPerPoint = 10;
}  // namespace

QByteArray sheetToPdf(const Workbook& workbook, int sheetIndex, const FormatLocale& locale,
                      PaperSize paper, const PdfDocumentInfo& info) {
    const PageLayout layout = layoutSheet(workbook, sheetIndex, paper);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(static_cast<int>(kPointsPerInch) * kUnitsPerPoint);
        pdf.setTitle(info.title);
        pdf.setCreator(info.creator);
        const QPageSize size(QSizeF(paper.widthPt, paper.heightPt), QPageSize::Point, QString(),
                             QPageSize::FuzzyMatch);
        pdf.setPageLayout(
            QPageLayout(size, layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&pdf)) throw std::runtime_error("Cannot start the PDF document.");
        painter.scale(kUnitsPerPoint, kUnitsPerPoint);
        HeaderFooterContext context;
        context.fileName = info.fileName.toStdString();
        paintSheetPage(painter, workbook, sheetIndex, locale, layout, context);
        if (!painter.end()) throw std::runtime_error("Cannot finish the PDF document.");
    }
    return bytes;
}

}  // namespace tallowby::engine::print
