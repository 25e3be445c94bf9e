#include "workbook/engine/print/sheet_page.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <stdexcept>

#include "workbook/engine/render/sheet_fonts.h"
#include "workbook/engine/render/sheet_renderer.h"

namespace tallowby::engine::print {

namespace {

constexpr uint16_t kPrintGridlines = 0x002B;

const Sheet& sheetAt(const Workbook& workbook, int sheetIndex) {
    if (sheetIndex < 0 || sheetIndex >= static_cast<int>(workbook.sheets.size()))
        throw std::runtime_error("The workbook has no sheet " + std::to_string(sheetIndex + 1) +
                                 ".");
    return workbook.sheets[sheetIndex];
}

CellRange rangeToPrint(const Sheet& sheet) {
    const std::optional<CellRange> range = printedRange(sheet);
    if (!range) throw std::runtime_error("The sheet \"" + sheet.name + "\" has nothing to print.");
    return *range;
}

// One header or footer line; `top` is the line's top edge, or its bottom
// edge when `fromBottom`, in points.
void paintHeaderFooterLine(QPainter& painter, const HeaderFooterText& text, const Font& font,
                           const PageLayout& layout, const PageSetup& setup, double edge,
                           bool fromBottom) {
    if (text.empty()) return;
    const QFont qfont = render::toQFont(font);
    const QFontMetricsF metrics(qfont);
    // In 96-dpi pixels, the unit the sheet's fonts are sized in.
    const double left = setup.left() * kPointsPerInch / kPointsPerPixel;
    const double right = (layout.pageWidthPt - setup.right() * kPointsPerInch) / kPointsPerPixel;
    const double y = edge / kPointsPerPixel;
    const double baseline = fromBottom ? y - metrics.descent() : y + metrics.ascent();
    painter.save();
    painter.scale(kPointsPerPixel, kPointsPerPixel);
    painter.setFont(qfont);
    painter.setPen(Qt::black);
    const QString l = QString::fromStdString(text.left), c = QString::fromStdString(text.centre),
                  r = QString::fromStdString(text.right);
    if (!l.isEmpty()) painter.drawText(QPointF(left, baseline), l);
    if (!c.isEmpty())
        painter.drawText(QPointF((left + right - metrics.horizontalAdvance(c)) / 2, baseline), c);
    if (!r.isEmpty()) painter.drawText(QPointF(right - metrics.horizontalAdvance(r), baseline), r);
    painter.restore();
}

}  // namespace

std::optional<CellRange> printedRange(const Sheet& sheet) {
    if (sheet.printArea) return sheet.printArea;
    std::optional<CellRange> used = sheet.usedRange();
    for (const CellRange& m : sheet.merges) {
        if (m.firstRow > m.lastRow || m.firstCol > m.lastCol) continue;
        if (!used) used = m;
        used->lastRow = std::max(used->lastRow, m.lastRow);
        used->lastCol = std::max(used->lastCol, m.lastCol);
    }
    if (!used) return std::nullopt;
    return CellRange{0, used->lastRow, 0, used->lastCol};
}

bool printsGridlines(const Sheet& sheet) {
    for (const RawRecord& r : sheet.recordsBeforeCells)
        if (r.type == kPrintGridlines && r.data.size() >= 2) return (r.data[0] | r.data[1]) != 0;
    return false;
}

PageLayout layoutSheet(const Workbook& workbook, int sheetIndex, PaperSize paper) {
    const Sheet& sheet = sheetAt(workbook, sheetIndex);
    const QSizeF pixels = sheetRangeSize(workbook, sheetIndex, rangeToPrint(sheet));
    return layoutPage(pixels.width() * kPointsPerPixel, pixels.height() * kPointsPerPixel, paper,
                      sheet.pageSetup);
}

void paintSheetPage(QPainter& painter, const Workbook& workbook, int sheetIndex,
                    const FormatLocale& locale, const PageLayout& layout,
                    HeaderFooterContext context) {
    const Sheet& sheet = sheetAt(workbook, sheetIndex);
    const PageSetup& setup = sheet.pageSetup;
    if (!setup.header.value_or("").empty() || !setup.footer.value_or("").empty()) {
        const QDateTime now = QDateTime::currentDateTime();
        if (context.date.empty())
            context.date = QLocale().toString(now.date(), QLocale::ShortFormat).toStdString();
        if (context.time.empty())
            context.time = QLocale().toString(now.time(), QLocale::ShortFormat).toStdString();
        if (context.sheetName.empty()) context.sheetName = sheet.name;
        const double headerMargin = setup.setup ? setup.setup->headerMarginInches : 0.5;
        const double footerMargin = setup.setup ? setup.setup->footerMarginInches : 0.5;
        paintHeaderFooterLine(painter, expandHeaderFooter(setup.header.value_or(""), context),
                              workbook.font(0), layout, setup, headerMargin * kPointsPerInch,
                              false);
        paintHeaderFooterLine(painter, expandHeaderFooter(setup.footer.value_or(""), context),
                              workbook.font(0), layout, setup,
                              layout.pageHeightPt - footerMargin * kPointsPerInch, true);
    }
    RenderOptions options;
    options.gridlines = printsGridlines(sheet);
    painter.save();
    painter.translate(layout.leftPt, layout.topPt);
    painter.scale(layout.scale * kPointsPerPixel, layout.scale * kPointsPerPixel);
    paintSheetRange(painter, workbook, sheetIndex, locale, rangeToPrint(sheet), options);
    painter.restore();
}

}  // namespace tallowby::engine::print
