#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "workbook/engine/model/cell.h"

namespace tallowby::engine::biff {

// A built-in NAME record "Print_Area" of one sheet.
struct PrintAreaName {
    uint16_t sheetIndex = 0;  // zero-based
    CellRange range;          // the first area of the name's formula
};

// Decodes a NAME record when it is a sheet's print area with a single area
// (or a union whose first area is taken); nothing for any other name.
std::optional<PrintAreaName> readPrintAreaName(std::span<const uint8_t> data);

// The NAME record for a sheet's print area, referring through extern-sheet
// entry externSheetIndex.
std::vector<uint8_t> printAreaNameRecord(uint16_t sheetIndex, uint16_t externSheetIndex,
                                         const CellRange& range);

}  // namespace tallowby::engine::biff
