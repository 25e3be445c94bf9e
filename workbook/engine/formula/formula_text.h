#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::formula {

// The formula a token array stands for, as a spreadsheet program shows it:
// "=SUM(B12:H12)", "=B20*B19*24", "=$A$1+1". `at` is the formula's cell
// (needed for shared-formula offsets); a workbook, when given, names the
// sheets of 3-D references. Throws MalformedFormula for tokens it cannot read.
std::string formulaText(std::span<const uint8_t> tokens, CellAddress at = {},
                        const Workbook* workbook = nullptr);

// "A1", "$B$12", "IV65536" for a zero-based position.
std::string cellName(uint16_t row, uint16_t col, bool rowAbsolute = false,
                     bool colAbsolute = false);

}  // namespace tallowby::engine::formula
