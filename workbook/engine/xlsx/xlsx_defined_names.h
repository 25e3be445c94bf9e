#pragma once

#include <xlsxwriter.h>

#include <string>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::xlsx {

// Defines the workbook's names (NAME records other than the print areas,
// which the sheets carry) in the file, and gives the sheets their print
// titles (rows and columns repeated on every page). `sheets` holds the
// written worksheet of each model sheet, null for one not written. A name the
// file cannot hold (a hidden one, another built-in, a formula that does not
// read) becomes a warning.
void writeDefinedNames(lxw_workbook* book, const Workbook& model,
                       const std::vector<lxw_worksheet*>& sheets,
                       std::vector<std::string>& warnings);

}  // namespace tallowby::engine::xlsx
