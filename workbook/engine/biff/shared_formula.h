#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tallowby::engine::biff {

// Turns the tokens of a shared formula (references relative to the cell that
// uses them) into the tokens of the formula in cell (row, col). Nothing when
// a token cannot be handled.
std::optional<std::vector<uint8_t>> expandSharedFormula(std::span<const uint8_t> tokens,
                                                        uint16_t row, uint16_t col);

}  // namespace tallowby::engine::biff
