#pragma once

#include <string>

#include "workbook/engine/common/utf_convert.h"

namespace tallowby::engine::biff {

// Cell text in the model is UTF-8; BIFF8 stores UTF-16 (or its Latin-1 subset).
inline std::string utf16ToText(const std::u16string& text) {
    return unicode::utf16ToUtf8(text);
}
inline std::u16string textToUtf16(const std::string& text) {
    return unicode::utf8ToUtf16(text);
}
using unicode::isHighSurrogate;

// At most `limit` units of the text, cut between characters: a pair that the
// limit would split goes as a whole.
std::u16string textToUtf16Limited(const std::string& text, size_t limit);

}  // namespace tallowby::engine::biff
