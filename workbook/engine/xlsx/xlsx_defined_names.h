#pragma once

#include <xlsxwriter.h>

#include <string>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::xlsx {

// Defines the workbook's names (NAME records other than the print areas,
// which the sheets carry) in the file. A name the file cannot hold (a hidden
// one, a built-in other than the print area, a formula that does not read)
// becomes a warning.
void writeDefinedNames(lxw_workbook* book, const Workbook& model,
                       std::vector<std::string>& warnings);

}  // namespace tallowby::engine::xlsx
