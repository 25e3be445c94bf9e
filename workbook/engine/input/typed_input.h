#pragma once

#include <string>
#include <string_view>

class QLocale;

namespace tallowby::engine {

// What a text entered into a cell means, read as if the user had typed it.
struct TypedInput {
    enum class Kind { Empty, Number, Text, Boolean };
    Kind kind = Kind::Empty;
    double number = 0;         // Number (dates and times as serial numbers); Boolean 0 or 1
    std::string text;          // Text (UTF-8), without a leading apostrophe
    bool quotePrefix = false;  // typed with a leading apostrophe
    // The format a General cell adopts for this entry ("h:mm", "m/d/yyyy",
    // "0%"...), or empty when the cell keeps its format.
    std::string adoptedFormat;
};

// Reads `typed` in `locale`, for a cell whose current format code is
// `cellFormat`: a cell with a number format keeps it (text format keeps
// everything as text); only General cells adopt the entry's format.
// `currentYear` completes dates typed without a year. Never throws.
TypedInput readTypedInput(std::string_view typed, std::string_view cellFormat,
                          const QLocale& locale, int currentYear);

}  // namespace tallowby::engine
