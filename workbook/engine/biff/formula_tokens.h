#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tallowby::engine::biff {

// The size in bytes of the token at the start of tokens (ptg byte included),
// or nothing when the token is unknown or runs past the end.
std::optional<size_t> tokenSize(std::span<const uint8_t> tokens);

// Turns the tokens of a shared formula (references relative to the cell that
// uses them) into the tokens of the formula in cell (row, col). Nothing when
// a token cannot be handled.
std::optional<std::vector<uint8_t>> expandSharedFormula(std::span<const uint8_t> tokens,
                                                        uint16_t row, uint16_t col);

}  // namespace tallowby::engine::biff
