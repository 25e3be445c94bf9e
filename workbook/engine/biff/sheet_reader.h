#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::biff {

// A sheet as the workbook's sheet list (BOUNDSHEET) describes it.
struct SheetEntry {
    uint32_t offset = 0;  // of the sheet's BOF in the workbook stream
    uint8_t visibility = 0;
    uint8_t kind = 0;
    std::string name;
};

// Reads the sheet's substream into a Sheet. Throws FileFormatError.
Sheet readSheet(std::span<const uint8_t> stream, const SheetEntry& entry,
                const std::vector<std::string>& sharedStrings);

}  // namespace tallowby::engine::biff
