#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallowby::engine::unicode {

// The engine keeps text in UTF-8; files store UTF-16. Both directions turn
// what cannot be converted (a lone surrogate, a broken UTF-8 sequence) into
// U+FFFD rather than failing.

// The length of the UTF-8 sequence a lead byte starts; 1 for ASCII and for a
// byte that cannot start one.
size_t utf8SequenceLength(unsigned char lead);

// True for the bytes that continue a UTF-8 sequence (10xxxxxx).
inline bool isUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// How many characters UTF-8 text holds: its bytes that do not continue one.
size_t utf8CharacterCount(std::string_view text);

// Appends one code point as UTF-8.
void appendUtf8(std::string& out, char32_t c);

std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

// True for the first half of a surrogate pair.
inline bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
inline bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c < 0xE000;
}
inline bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xE000;
}

}  // namespace tallowby::engine::unicode
