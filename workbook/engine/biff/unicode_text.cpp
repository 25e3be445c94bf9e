#include "workbook/engine/biff/unicode_text.h"

#include "workbook/engine/cfb/entry_name.h"

namespace tallowby::engine::biff {

std::string utf16ToText(const std::u16string& text) {
    return cfb::utf16ToUtf8(text);
}
std::u16string textToUtf16(const std::string& text) {
    return cfb::utf8ToUtf16(text);
}

}  // namespace tallowby::engine::biff
