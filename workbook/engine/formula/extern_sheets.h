#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::formula {

// The workbook's EXTERNSHEET table resolved to sheet indexes: entry i is the
// sheet that 3-D references with index i point at, or nothing when the entry
// names another workbook, a sheet range or a sheet that does not exist.
class ExternSheets {
  public:
    explicit ExternSheets(const Workbook& workbook);
    std::optional<int> sheetFor(uint16_t externIndex) const;

  private:
    std::vector<std::optional<int>> sheets_;
};

}  // namespace tallowby::engine::formula
