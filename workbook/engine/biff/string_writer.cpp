#include "workbook/engine/biff/string_writer.h"

#include <algorithm>

#include "workbook/engine/biff/unicode_text.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

bool fitsCompressed(const std::u16string& text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
}

void appendUnicodeString(std::vector<uint8_t>& out, const std::string& text, bool shortLength) {
    const std::u16string units = textToUtf16Limited(text, shortLength ? 255 : 32767);
    ByteWriter w(out);
    if (shortLength)
        w.u8(static_cast<uint8_t>(units.size()));
    else
        w.u16(static_cast<uint16_t>(units.size()));
    const bool compressed = fitsCompressed(units);
    w.u8(compressed ? 0x00 : 0x01);
    for (char16_t c : units) {
        if (compressed)
            w.u8(static_cast<uint8_t>(c));
        else
            w.u16(c);
    }
}

}  // namespace tallowby::engine::biff
