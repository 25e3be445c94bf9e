#pragma once

#include <string_view>

#include "workbook/engine/numfmt/format_code.h"
#include "workbook/engine/numfmt/number_format.h"

namespace tallowby::engine {

// Appends literal text to a formatted value.
void appendText(FormattedValue& out, std::string_view text);
// Notes a `*x` fill at the current end of the text (the first one counts).
void appendFill(FormattedValue& out, const std::string& fill);
// Writes a literal or fill token, which every kind of section shows the same
// way; false for any other token.
bool appendLiteralOrFill(FormattedValue& out, const FormatToken& token);
// Marks a value the cell cannot show: the renderer fills the cell with '#'.
void markUnshowable(FormattedValue& out);

// A number through a section without dates; `magnitude` is the absolute value
// and `minus` says whether a minus sign goes first.
void renderNumberSection(const FormatSection& section, double magnitude, bool minus,
                         const FormatLocale& locale, FormattedValue& out);

// A serial date or time; false when the value lies outside the dates a
// spreadsheet shows.
bool renderDateSection(const FormatSection& section, double serial, const FormatLocale& locale,
                       bool date1904, FormattedValue& out);

// A text through a section with @.
void renderTextSection(const FormatSection& section, std::string_view text, FormattedValue& out);

}  // namespace tallowby::engine
