#pragma once

#include <cstdint>
#include <vector>

#include "workbook/engine/biff/shared_strings.h"
#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::biff {

// The substream of one sheet, BOF to EOF. Cell texts are added to strings.
std::vector<uint8_t> writeSheet(const Sheet& sheet, bool active, SharedStringTable& strings);

}  // namespace tallowby::engine::biff
