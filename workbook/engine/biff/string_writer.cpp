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
    appendUnits(out, units, 0, units.size(), compressed);
}

void appendUnits(std::vector<uint8_t>& out, const std::u16string& units, size_t from, size_t count,
                 bool compressed) {
    ByteWriter w(out);
    for (size_t k = from; k < from + count; ++k) {
        if (compressed)
            w.u8(static_cast<uint8_t>(units[k]));
        else
            w.u16(units[k]);
    }
}

}  // namespace tallowby::engine::biff
