#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::xlsx {

// What the workbook carries in records the engine keeps without
// interpreting (notes, links, drawings, validation, protection, macros...)
// and the .xlsx writer therefore cannot carry over: one warning per kind and
// sheet, naming it.
std::vector<std::string> lostContentWarnings(const Workbook& model);

// The first kept record of a type in a sheet, or null.
const RawRecord* keptSheetRecord(const Sheet& sheet, uint16_t type);

}  // namespace tallowby::engine::xlsx
