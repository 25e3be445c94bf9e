#pragma once

#include <xlsxwriter.h>

#include <string>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::xlsx {

// The sheet's print area, page setup (paper, orientation, scale or fit to
// pages, margins, centring, header and footer, page breaks) and printed
// gridlines and headings. What the API has no call for becomes a warning.
void writePageSetup(lxw_worksheet* ws, const Sheet& sheet, std::vector<std::string>& warnings);

}  // namespace tallowby::engine::xlsx
