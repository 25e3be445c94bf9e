#include "workbook/engine/cfb/entry_name.h"

namespace tallowby::engine::cfb {

namespace {

char16_t upper(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    // Latin-1 lower-case letters except the German sharp s and y-diaeresis.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    return c;
}

}  // namespace

int compareEntryNames(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (size_t i = 0; i < a.size(); ++i) {
        const char16_t x = upper(a[i]), y = upper(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::u16string entryNameKey(const std::u16string& name) {
    std::u16string key = name;
    for (char16_t& c : key) c = upper(c);
    return key;
}

}  // namespace tallowby::engine::cfb
