#pragma once

#include <string>

namespace tallowby::engine::cfb {

// Directory entry names are UTF-16; the engine names streams in UTF-8.
std::string utf16ToUtf8(const std::u16string& text);
std::u16string utf8ToUtf16(const std::string& text);

// The order of sibling entries in the directory tree: shorter names first,
// then by upper-cased UTF-16 code units. Negative, zero or positive.
int compareEntryNames(const std::u16string& a, const std::u16string& b);

// Two sibling names are the same entry when their keys are equal (the
// comparison above gives 0 exactly then).
std::u16string entryNameKey(const std::u16string& name);

}  // namespace tallowby::engine::cfb
