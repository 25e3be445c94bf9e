#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "workbook/engine/input/input_locale.h"

namespace tallowby::engine {

// A value read from typed text, and the format a General cell adopts for it
// (empty for none).
struct TypedReading {
    double value = 0;
    std::string format;
};

// A number as typed: sign or parentheses, currency sign before or after,
// group and decimal separators of the locale, exponent, percent, or a mixed
// fraction such as "1 1/2". `text` has no surrounding blanks.
std::optional<TypedReading> readTypedNumber(std::string_view text, const InputLocale& locale);

}  // namespace tallowby::engine
