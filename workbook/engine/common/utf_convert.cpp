#include "workbook/engine/common/utf_convert.h"

namespace tallowby::engine::unicode {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the sequence of `length` bytes at text[at]; on a byte that does not
// continue it, gives U+FFFD and shortens length to the bytes used.
char32_t decodeSequence(std::string_view text, size_t at, size_t& length) {
    char32_t c = static_cast<unsigned char>(text[at]) & (0x7Fu >> length);
    for (size_t k = 1; k < length; ++k) {
        const auto cont = static_cast<unsigned char>(text[at + k]);
        if ((cont & 0xC0) != 0x80) {
            length = k;
            return kReplacement;
        }
        c = (c << 6) | (cont & 0x3Fu);
    }
    if (c > 0x10FFFF || isSurrogate(c)) return kReplacement;
    return c;
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

}  // namespace

size_t utf8SequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

size_t utf8CharacterCount(std::string_view text) {
    size_t count = 0;
    for (char c : text) count += !isUtf8Continuation(static_cast<unsigned char>(c));
    return count;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (isSurrogate(c)) {
            c = kReplacement;  // a lone surrogate
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = utf8SequenceLength(lead);
        char32_t c = lead < 0x80 ? lead : kReplacement;
        if (length > 1) {
            if (i + length > text.size())
                length = 1;  // cut short by the end of the text
            else
                c = decodeSequence(text, i, length);
        }
        i += length;
        appendUtf16(out, c);
    }
    return out;
}

}  // namespace tallowby::engine::unicode
