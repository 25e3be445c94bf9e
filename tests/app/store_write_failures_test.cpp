#include "app/store_write_failures.h"

#include <gtest/gtest.h>

namespace tallowby {
namespace {

TEST(StoreWriteFailuresTest, OnlyTheFirstFailureOfASessionIsTold) {
    StoreWriteFailures failures;
    const auto first =
        failures.failed("Cannot write /s/Marrowick.ini: No space left on device", "the hours list");
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(first->contains("No space left on device"));
    EXPECT_TRUE(first->contains("Not saved: the hours list."));
    EXPECT_TRUE(first->contains(StoreWriteFailures::titleMark()));
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(failures.failed("Cannot write: Input/output error", "the phone").has_value());
    EXPECT_EQ(failures.count(), 51);
    // The question at close names the latest reason.
    EXPECT_TRUE(failures.closeQuestion().contains("Input/output error"));
}

}  // namespace
}  // namespace tallowby
