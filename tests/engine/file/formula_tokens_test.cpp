// Token sizes and the expansion of shared formulas into each cell's own tokens.
#include "workbook/engine/biff/formula_tokens.h"

#include <gtest/gtest.h>

namespace tallowby::engine::biff {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(FormulaTokens, SizesOfVariableTokens) {
    EXPECT_EQ(tokenSize(Bytes{0x17, 3, 0, 'a', 'b', 'c'}), 6u);            // 8-bit string
    EXPECT_EQ(tokenSize(Bytes{0x17, 2, 1, 'a', 0, 'b', 0}), 7u);           // 16-bit string
    EXPECT_EQ(tokenSize(Bytes{0x19, 0x04, 2, 0, 1, 0, 2, 0, 3, 0}), 10u);  // choose table
    EXPECT_EQ(tokenSize(Bytes{0x19, 0x10, 0, 0}), 4u);                     // sum attribute
    EXPECT_EQ(tokenSize(Bytes{0x3B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 11u);
    EXPECT_FALSE(tokenSize(Bytes{0x17, 9, 0, 'a'}));  // runs past the end
    EXPECT_FALSE(tokenSize(Bytes{0x18, 0, 0}));       // not handled
    EXPECT_FALSE(tokenSize(Bytes{}));
}

TEST(FormulaTokens, RelativeReferencesBecomeAbsoluteCoordinates) {
    // In a shared formula anchored anywhere: one row up, one column left (both
    // relative), times the absolute $C$1.
    const Bytes shared = {0x4C, 0xFF, 0xFF, 0xFF, 0xC0,  // ptgRefN row -1, col -1
                          0x4C, 0x00, 0x00, 0x02, 0x00,  // ptgRefN absolute C1
                          0x05};
    const auto tokens = expandSharedFormula(shared, 9, 3);  // cell D10
    ASSERT_TRUE(tokens);
    EXPECT_EQ(*tokens, (Bytes{0x44, 8, 0, 0x02, 0xC0, 0x44, 0, 0, 0x02, 0x00, 0x05}));  // C9 * $C$1
}

TEST(FormulaTokens, RelativeAreasAndPassThroughTokens) {
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

TEST(FormulaTokens, UnknownTokensStopTheExpansion) {
    EXPECT_FALSE(expandSharedFormula(Bytes{0x24, 0, 0, 0, 0, 0x18, 1}, 0, 0));
    EXPECT_FALSE(expandSharedFormula(Bytes{0x2C, 0, 0}, 0, 0));  // truncated reference
}

}  // namespace
}  // namespace tallowby::engine::biff
