// The expansion of shared formulas into each cell's own tokens.
#include "workbook/engine/biff/shared_formula.h"

#include <gtest/gtest.h>

namespace tallowby::engine::biff {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SharedFormula, RelativeReferencesBecomeAbsoluteCoordinates) {
    // In a shared formula anchored anywhere: one row up, one column left (both
    // relative), times the absolute $C$1.
    const Bytes shared = {0x4C, 0xFF, 0xFF, 0xFF, 0xC0,  // ptgRefN row -1, col -1
                          0x4C, 0x00, 0x00, 0x02, 0x00,  // ptgRefN absolute C1
                          0x05};
    const auto tokens = expandSharedFormula(shared, 9, 3);  // cell D10
    ASSERT_TRUE(tokens);
    EXPECT_EQ(*tokens, (Bytes{0x44, 8, 0, 0x02, 0xC0, 0x44, 0, 0, 0x02, 0x00, 0x05}));  // C9 * $C$1
}

TEST(SharedFormula, RelativeAreasAndPassThroughTokens) {
    // SUM over rows 0..+6 of the same column, then + 1.5 and a string.
    const Bytes shared = {0x2D, 0,    0, 6, 0,   0,   0xC0, 0,    0xC0,  // ptgAreaN
                          0x19, 0x10, 0, 0,                              // sum attribute
                          0x1F, 0,    0, 0, 0,   0,   0,    0xF8, 0x3F,  // 1.5
                          0x03, 0x17, 1, 0, 'x', 0x03};
    const auto tokens = expandSharedFormula(shared, 11, 1);  // cell B12
    ASSERT_TRUE(tokens);
    const Bytes expected = {0x25, 11, 0, 17, 0, 1, 0xC0, 1,    0xC0, 0x19, 0x10, 0, 0,   0x1F,
                            0,    0,  0, 0,  0, 0, 0xF8, 0x3F, 0x03, 0x17, 1,    0, 'x', 0x03};
    EXPECT_EQ(*tokens, expected);
}

TEST(SharedFormula, ThreeDReferencesKeepTheirSheet) {
    // Row -1 and column +1 relative, in a 3-D reference to EXTERNSHEET entry 5.
    const auto ref = expandSharedFormula(Bytes{0x3A, 5, 0, 0xFF, 0xFF, 0x01, 0xC0}, 9, 3);
    ASSERT_TRUE(ref);
    EXPECT_EQ(*ref, (Bytes{0x3A, 5, 0, 8, 0, 0x04, 0xC0}));  // E9
    // First row relative (column absolute), last column relative -1 (row absolute).
    const auto area =
        expandSharedFormula(Bytes{0x3B, 1, 0, 0, 0, 2, 0, 0x00, 0x80, 0xFF, 0x40}, 5, 0);
    ASSERT_TRUE(area);
    EXPECT_EQ(*area, (Bytes{0x3B, 1, 0, 5, 0, 2, 0, 0x00, 0x80, 0xFF, 0x40}));  // wraps to IV
}

TEST(SharedFormula, UnknownTokensStopTheExpansion) {
    EXPECT_FALSE(expandSharedFormula(Bytes{0x24, 0, 0, 0, 0, 0x18, 1}, 0, 0));
    EXPECT_FALSE(expandSharedFormula(Bytes{0x2C, 0, 0}, 0, 0));  // truncated reference
}

}  // namespace
}  // namespace tallowby::engine::biff
