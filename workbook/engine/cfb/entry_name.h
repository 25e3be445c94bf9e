#pragma once

#include <string>

namespace tallowby::engine::cfb {

// The order of sibling entries in the directory tree: shorter names first,
// then by upper-cased UTF-16 code units. Negative, zero or positive.
int compareEntryNames(const std::u16string& a, const std::u16string& b);

// Two sibling names are the same entry when their keys are equal (the
// comparison above gives 0 exactly then).
std::u16string entryNameKey(const std::u16string& name);

}  // namespace tallowby::engine::cfb
