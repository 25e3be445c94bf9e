#pragma once

#include <cstdint>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::render {

// Widths of the maximum digit of the default font (Arial 10 at 96 dpi); the
// file's column widths are counted in 1/256 of it.
inline constexpr int kDigitWidthPixels = 7;

// Column width in pixels: COLINFO width, else the sheet's standard or default width.
int columnWidthPixels(const Sheet& sheet, uint16_t col);
// Row height in pixels (twips / 15), 0 for a hidden row.
int rowHeightPixels(const Sheet& sheet, uint16_t row);

// Pixel positions of the grid lines for columns 0..lastCol and rows 0..lastRow:
// line k of columns sits at x = columnLines[k]; cell column c spans the pixels
// from columnLines[c] (its left line) to columnLines[c + 1] (its right line).
struct SheetGeometry {
    std::vector<int> columnLines;  // lastCol + 2 entries, the first 0
    std::vector<int> rowLines;     // lastRow + 2 entries, the first 0

    SheetGeometry(const Sheet& sheet, uint16_t lastRow, uint16_t lastCol);
    int columns() const { return static_cast<int>(columnLines.size()) - 1; }
    int rows() const { return static_cast<int>(rowLines.size()) - 1; }
    // The picture's size: every line included.
    int width() const { return columnLines.back() + 1; }
    int height() const { return rowLines.back() + 1; }
};

}  // namespace tallowby::engine::render
