#pragma once

#include <string>

namespace tallowby::engine::biff {

// Cell text in the model is UTF-8; BIFF8 stores UTF-16 (or its Latin-1 subset).
std::string utf16ToText(const std::u16string& text);
std::u16string textToUtf16(const std::string& text);

}  // namespace tallowby::engine::biff
