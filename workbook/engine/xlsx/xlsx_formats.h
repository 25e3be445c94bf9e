#pragma once

#include <xlsxwriter.h>

#include <cstdint>
#include <map>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::xlsx {

// The libxlsxwriter format for each cell XF of the model, made on first use.
// Every cell gets one, even the default XF: the file's own default style is
// libxlsxwriter's (Calibri 11), not the workbook's.
class XlsxFormats {
  public:
    XlsxFormats(lxw_workbook* book, const Workbook& model) : book_(book), model_(&model) {}
    lxw_format* forXf(uint16_t xf);

  private:
    lxw_workbook* book_;
    const Workbook* model_;
    std::map<uint16_t, lxw_format*> made_;
};

// A colour index of the model as libxlsxwriter takes it, or LXW_COLOR_UNSET
// for the automatic and system colours (index 64 and up).
lxw_color_t xlsxColour(const Workbook& model, uint16_t colourIndex);

}  // namespace tallowby::engine::xlsx
