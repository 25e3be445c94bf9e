#include "workbook/engine/print/sheet_page.h"

#include <QPainter>
#include <stdexcept>

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
                    const FormatLocale& locale, const PageLayout& layout) {
    const Sheet& sheet = sheetAt(workbook, sheetIndex);
    RenderOptions options;
    options.gridlines = printsGridlines(sheet);
    painter.save();
    painter.translate(layout.leftPt, layout.topPt);
    painter.scale(layout.scale * kPointsPerPixel, layout.scale * kPointsPerPixel);
    paintSheetRange(painter, workbook, sheetIndex, locale, rangeToPrint(sheet), options);
    painter.restore();
}

}  // namespace tallowby::engine::print
