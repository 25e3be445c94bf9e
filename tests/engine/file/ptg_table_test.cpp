// Formula token sizes, shared by the file and formula layers.
#include "workbook/engine/common/ptg_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace tallowby::engine::ptg {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(PtgTable, SizesOfVariableTokens) {
    EXPECT_EQ(tokenSize(Bytes{0x17, 3, 0, 'a', 'b', 'c'}), 6u);            // 8-bit string
    EXPECT_EQ(tokenSize(Bytes{0x17, 2, 1, 'a', 0, 'b', 0}), 7u);           // 16-bit string
    EXPECT_EQ(tokenSize(Bytes{0x19, 0x04, 2, 0, 1, 0, 2, 0, 3, 0}), 10u);  // choose table
    EXPECT_EQ(tokenSize(Bytes{0x19, 0x10, 0, 0}), 4u);                     // sum attribute
    EXPECT_EQ(tokenSize(Bytes{0x3B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 11u);
    EXPECT_FALSE(tokenSize(Bytes{0x17, 9, 0, 'a'}));  // runs past the end
    EXPECT_FALSE(tokenSize(Bytes{0x18, 0, 0}));       // not handled
    EXPECT_FALSE(tokenSize(Bytes{}));
}

TEST(PtgTable, FixedSizesByBaseId) {
    EXPECT_EQ(fixedTokenSize(Add), 1u);
    EXPECT_EQ(fixedTokenSize(MissArg), 1u);
    EXPECT_EQ(fixedTokenSize(Exp), 5u);
    EXPECT_EQ(fixedTokenSize(Num), 9u);
    EXPECT_EQ(fixedTokenSize(Array), 8u);
    EXPECT_EQ(fixedTokenSize(FuncVar), 4u);
    EXPECT_EQ(fixedTokenSize(NameX), 7u);
    EXPECT_EQ(fixedTokenSize(AreaErr3d), 11u);
    // Sizes that live in the token, and ids the engine does not know.
    EXPECT_FALSE(fixedTokenSize(Str));
    EXPECT_FALSE(fixedTokenSize(Attr));
    EXPECT_FALSE(fixedTokenSize(Extend));
    EXPECT_FALSE(fixedTokenSize(0x00));
    EXPECT_FALSE(fixedTokenSize(0x2E));
    EXPECT_FALSE(fixedTokenSize(0x5B));  // a classed byte, not a base id
}

TEST(PtgTable, ClassedTokensShareTheirBaseSize) {
    for (uint8_t raw : {uint8_t{0x24}, uint8_t{0x44}, uint8_t{0x64}}) {
        EXPECT_EQ(baseId(raw), Ref);
        EXPECT_EQ(tokenSize(Bytes{raw, 0, 0, 0, 0}), 5u);
    }
    EXPECT_EQ(baseId(Add), Add);
    EXPECT_EQ(withClassOf(Ref, 0x4C), 0x44);
    // The file walk steps over a byte with bit 7 set like a classed token.
    EXPECT_EQ(tokenSize(Bytes{0x85, 0, 0, 0, 0, 0, 0, 0, 0}), 9u);
    EXPECT_EQ(baseId(0x85), 0x85);
    EXPECT_EQ(walkedBaseId(0x85), Area);
    EXPECT_EQ(walkedBaseId(0x7B), Area3d);
    EXPECT_EQ(walkedBaseId(Num), Num);
}

TEST(PtgTable, AreaForms) {
    for (uint8_t id : {Area, AreaErr, AreaN, Area3d, AreaErr3d}) EXPECT_TRUE(isArea(id)) << int{id};
    for (uint8_t id : {Ref, RefErr, RefN, Ref3d, RefErr3d, Name, Num})
        EXPECT_FALSE(isArea(id)) << int{id};
}

}  // namespace
}  // namespace tallowby::engine::ptg
