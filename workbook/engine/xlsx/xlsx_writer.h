#pragma once

#include <string>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::xlsx {

struct XlsxOptions {
    // The folder libxlsxwriter keeps its own scratch files in while it builds
    // the zip; empty means the system's temp folder.
    std::string scratchFolder;
};

// Writes the workbook as an Office Open XML workbook (.xlsx) at `path`:
// values and their types, formulas with the cached results the cells hold,
// styles, merges, column widths and row heights, page setup, print areas and
// defined names. Returns one warning per thing the model holds that the file
// cannot carry (or carries only approximately), for the caller to show.
// Throws std::runtime_error when the file cannot be written.
std::vector<std::string> writeXlsxFile(const Workbook& workbook, const std::string& path,
                                       const XlsxOptions& options = {});

}  // namespace tallowby::engine::xlsx
