#include "workbook/engine/biff/unicode_text.h"

namespace tallowby::engine::biff {

std::u16string textToUtf16Limited(const std::string& text, size_t limit) {
    std::u16string units = textToUtf16(text);
    if (units.size() <= limit) return units;
    if (limit > 0 && isHighSurrogate(units[limit - 1])) --limit;
    units.resize(limit);
    return units;
}

}  // namespace tallowby::engine::biff
