#include "workbook/engine/render/sheet_geometry.h"

#include <cmath>

namespace tallowby::engine::render {
namespace {

int roundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// Width units (1/256 of a digit, padding included) to pixels.
int unitsToPixels(double units) {
    return roundHalfEven(units * kDigitWidthPixels / 256.0);
}

}  // namespace

int columnWidthPixels(const Sheet& sheet, uint16_t col) {
    for (const ColumnInfo& info : sheet.columns) {
        if (col < info.firstCol || col > info.lastCol) continue;
        if (info.flags & 0x0001) return 0;
        return unitsToPixels(info.width);
    }
    if (sheet.standardWidth) return unitsToPixels(*sheet.standardWidth);
    // DEFCOLWIDTH counts characters without padding: add the 5 padding pixels,
    // then round up to a multiple of 8 as spreadsheet programs do (8 -> 64 px).
    const int pixels = sheet.defaultColWidthChars * kDigitWidthPixels + 5;
    return (pixels + 7) / 8 * 8;
}

int rowHeightPixels(const Sheet& sheet, uint16_t row) {
    auto it = sheet.rows.find(row);
    if (it == sheet.rows.end()) return roundHalfEven(sheet.defaultRowHeightTwips / 15.0);
    if (it->second.hidden) return 0;
    return roundHalfEven((it->second.heightTwips & 0x7FFF) / 15.0);
}

SheetGeometry::SheetGeometry(const Sheet& sheet, uint16_t lastRow, uint16_t lastCol) {
    columnLines.reserve(lastCol + 2u);
    columnLines.push_back(0);
    for (int c = 0; c <= lastCol; ++c)
        columnLines.push_back(columnLines.back() +
                              columnWidthPixels(sheet, static_cast<uint16_t>(c)));
    rowLines.reserve(lastRow + 2u);
    rowLines.push_back(0);
    for (int r = 0; r <= lastRow; ++r)
        rowLines.push_back(rowLines.back() + rowHeightPixels(sheet, static_cast<uint16_t>(r)));
}

}  // namespace tallowby::engine::render
