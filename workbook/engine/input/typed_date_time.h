#pragma once

#include <optional>
#include <string_view>

#include "workbook/engine/input/input_locale.h"
#include "workbook/engine/input/typed_number.h"

namespace tallowby::engine {

// A time of day or an elapsed time: "02:00", "14:30:15", "2:00 PM", "25:30".
std::optional<TypedReading> readTypedTime(std::string_view text, const InputLocale& locale);

// A date in the locale's order or ISO form, with month names, optionally
// followed by a time ("8/30/2021 14:30"). Serial numbers use the 1900 system.
std::optional<TypedReading> readTypedDate(std::string_view text, const InputLocale& locale,
                                          int currentYear);

}  // namespace tallowby::engine
