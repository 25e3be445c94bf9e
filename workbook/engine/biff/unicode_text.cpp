#include "workbook/engine/biff/unicode_text.h"

#include "workbook/engine/cfb/entry_name.h"

namespace tallowby::engine::biff {

std::string utf16ToText(const std::u16string& text) {
    return cfb::utf16ToUtf8(text);
}
std::u16string textToUtf16(const std::string& text) {
    return cfb::utf8ToUtf16(text);
}

std::u16string textToUtf16Limited(const std::string& text, size_t limit) {
    std::u16string units = textToUtf16(text);
    if (units.size() <= limit) return units;
    if (limit > 0 && isHighSurrogate(units[limit - 1])) --limit;
    units.resize(limit);
    return units;
}

}  // namespace tallowby::engine::biff
