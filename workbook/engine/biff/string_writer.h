#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tallowby::engine::biff {

// Appends an XLUnicodeString (16-bit count, or 8-bit when shortLength) for
// UTF-8 text; characters are stored 8 bits wide when all fit. Text longer
// than the count field allows is cut to the limit.
void appendUnicodeString(std::vector<uint8_t>& out, const std::string& text,
                         bool shortLength = false);

// True when every UTF-16 unit fits in 8 bits (Latin-1).
bool fitsCompressed(const std::u16string& text);

// Appends units [from, from + count) 8 bits wide when compressed, else 16.
void appendUnits(std::vector<uint8_t>& out, const std::u16string& units, size_t from, size_t count,
                 bool compressed);

}  // namespace tallowby::engine::biff
