#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "workbook/engine/formula/cell_index.h"
#include "workbook/engine/formula/extern_sheets.h"
#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::formula {

// Evaluates a BIFF8 token array as the formula of cell `at` on sheet
// `sheetIndex`, reading referenced cells' current values from the workbook.
// Never throws: a malformed or unsupported token array gives #VALUE!, an
// unknown function or a defined name #NAME?. Blank results are 0.
CellValue evaluateFormula(const Workbook& workbook, int sheetIndex, CellAddress at,
                          std::span<const uint8_t> tokens);
// With a read budget (see EvalContext) this throws RecalculationTooLarge
// when the budget runs out. A cell index of the workbook, when given, walks
// its ranges.
CellValue evaluateFormula(const Workbook& workbook, const ExternSheets& externSheets,
                          int sheetIndex, CellAddress at, std::span<const uint8_t> tokens,
                          size_t* readBudget = nullptr, const CellIndex* cellIndex = nullptr);

}  // namespace tallowby::engine::formula
