#pragma once

#include <optional>
#include <string>

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/numfmt/number_format.h"

namespace tallowby::engine::render {

// What a cell shows, before it is fitted into its column.
struct CellContent {
    enum class Kind : uint8_t { Text, Number, Other /* booleans and errors */ };
    Kind kind = Kind::Text;
    FormattedValue shown;        // text, fill position, format colour
    bool generalNumber = false;  // a number in the General format: may shrink to fit
    double number = 0;
    HAlign align = HAlign::Left;  // resolved: never General
};

// The content of a cell with a value, or nothing for a blank.
std::optional<CellContent> cellContent(const Workbook& workbook, const Cell& cell,
                                       const FormatLocale& locale);

}  // namespace tallowby::engine::render
