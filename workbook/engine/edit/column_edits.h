#pragma once

#include <cstdint>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::edit {

// Inserts `count` empty columns before column `before` (0-based) of sheet
// `sheetIndex`, the way a user inserts columns in a spreadsheet program:
// cells, merged ranges and column formats at or after `before` move right;
// every reference to the sheet in the workbook's formulas and defined names
// (the print area too) follows its cells, and an area or merged range or
// column run that spans the insertion point widens. The new cells are empty
// and take the format of the cell to their left. What is pushed past the
// last column is dropped, and references to it become #REF!.
// Throws std::out_of_range for a bad sheet or column, and
// formula::MalformedFormula for tokens it cannot walk (nothing is changed then).
void insertColumns(Workbook& workbook, int sheetIndex, uint16_t before, uint16_t count);

// Fill right: copies rows `firstRow` to `lastRow` of column `source` of sheet
// `sheetIndex` (every cell with its value, format and formula) into the
// `count` columns from `first` on, and gives those columns the source
// column's width and format. Relative column references of the copied
// formulas move by the distance copied; absolute ones stay. Cells of the
// target rows that have no counterpart in the source are cleared.
void fillRight(Workbook& workbook, int sheetIndex, uint16_t source, uint16_t first, uint16_t count,
               uint16_t firstRow = 0, uint16_t lastRow = 65535);

}  // namespace tallowby::engine::edit
