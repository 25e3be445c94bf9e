#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tallowby::engine::edit {

// The last column of a sheet (IV), 0-based.
inline constexpr int kLastColumn = 255;

// How one reference moves: given its column and whether that column is
// relative, the new column, or nothing when it falls off the sheet.
struct ColumnMove {
    // Single references and areas are told apart: inserting columns moves a
    // single reference at or after the insertion point but widens an area
    // that spans it.
    std::function<std::optional<int>(int col, bool relative)> single;
    std::function<std::optional<std::pair<int, int>>(int first, bool firstRelative, int last,
                                                     bool lastRelative)>
        area;
};

// Rewrites the column parts of the references in `tokens` (a cell's or a
// name's formula) in place. A reference that falls off the sheet becomes the
// matching #REF! token of the same class. `plainRefsApply` says whether
// ptgRef/ptgArea point at the moved sheet; `externApplies` decides for 3-D
// references. Throws formula::MalformedFormula on tokens it cannot walk.
void moveColumns(std::vector<uint8_t>& tokens, bool plainRefsApply,
                 const std::function<bool(uint16_t externSheet)>& externApplies,
                 const ColumnMove& move);

// The column rule of inserting `count` columns before column `before`.
ColumnMove insertionMove(int before, int count);
// The column rule of copying a formula `distance` columns to the right:
// relative parts move, absolute parts stay.
ColumnMove copyMove(int distance);

}  // namespace tallowby::engine::edit
