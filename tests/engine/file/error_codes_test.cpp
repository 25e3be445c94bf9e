// Error values: their texts and the codes files store them by.
#include <gtest/gtest.h>

#include "workbook/engine/model/cell.h"

namespace tallowby::engine {
namespace {

TEST(ErrorCodes, TextsAndStoredCodes) {
    const std::pair<ErrorCode, const char*> errors[] = {
        {ErrorCode::Null, "#NULL!"}, {ErrorCode::Div0, "#DIV/0!"}, {ErrorCode::Value, "#VALUE!"},
        {ErrorCode::Ref, "#REF!"},   {ErrorCode::Name, "#NAME?"},  {ErrorCode::Num, "#NUM!"},
        {ErrorCode::NA, "#N/A"}};
    for (const auto& [error, text] : errors) {
        EXPECT_STREQ(errorText(error), text);
        EXPECT_EQ(errorFromCode(static_cast<uint8_t>(error)), error) << text;
    }
    EXPECT_EQ(errorFromCode(0x07), ErrorCode::Div0);
    EXPECT_EQ(errorFromCode(0x2A), ErrorCode::NA);
    // Codes no error has read as #N/A, and an unknown value shows as #N/A.
    EXPECT_EQ(errorFromCode(0x01), ErrorCode::NA);
    EXPECT_EQ(errorFromCode(0xFF), ErrorCode::NA);
    EXPECT_STREQ(errorText(static_cast<ErrorCode>(0x42)), "#N/A");
}

}  // namespace
}  // namespace tallowby::engine
