#pragma once

#include <string>

namespace tallowby::engine::biff {

// Cell text in the model is UTF-8; BIFF8 stores UTF-16 (or its Latin-1 subset).
std::string utf16ToText(const std::u16string& text);
std::u16string textToUtf16(const std::string& text);

// True for the first half of a surrogate pair.
inline bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

// At most `limit` units of the text, cut between characters: a pair that the
// limit would split goes as a whole.
std::u16string textToUtf16Limited(const std::string& text, size_t limit);

}  // namespace tallowby::engine::biff
