#include "timesheet/sample_data.h"

#include <gtest/gtest.h>

#include <map>

namespace tallowby {
namespace {

std::map<int, std::vector<int>> byDay(const std::vector<std::pair<int, int>>& pairs) {
    std::map<int, std::vector<int>> days;
    for (const auto& [d, t] : pairs) days[d].push_back(t);
    return days;
}

TEST(SampleData, FreshStartGivesTheThirtyFourEntriesOfTheTable) {
    const auto pairs = sample_data::pattern(7, 14);
    EXPECT_EQ(pairs.size(), 34u);
    const std::map<int, std::vector<int>> expected{
        {0, {0, 3, 6, 9, 12}},      {1, {0, 1, 6, 11, 12, 13}}, {2, {0, 1, 8, 9, 10}},
        {3, {0, 1, 2, 11, 12, 13}}, {4, {0, 1, 2, 13}},         {5, {0, 1, 2, 3}},
        {6, {0, 1, 2, 3}}};
    EXPECT_EQ(byDay(pairs), expected);
}

TEST(SampleData, SecondPressOverTwentyOneTypesGivesFiftyTwo) {
    EXPECT_EQ(sample_data::pattern(7, 21).size(), 52u);
}

TEST(SampleData, HalvesRoundToTheEvenNeighbour) {
    // 1/2 = 0.5 -> 0 (a multiple of 3); 3/2 = 1.5 -> 2 (not); 5/2 = 2.5 -> 2 (not);
    // 11/2 = 5.5 -> 6 (a multiple of 3); 15/2 = 7.5 -> 8 (not).
    EXPECT_TRUE(sample_data::wantsEntry(1, 1));
    EXPECT_FALSE(sample_data::wantsEntry(1, 3));
    EXPECT_FALSE(sample_data::wantsEntry(1, 5));
    EXPECT_TRUE(sample_data::wantsEntry(1, 11));
    EXPECT_FALSE(sample_data::wantsEntry(1, 15));
    // 9/6 = 1.5 -> 2 (not); 15/6 = 2.5 -> 2 (not); 21/6 = 3.5 -> 4 (not); 3/6 = 0.5 -> 0.
    EXPECT_FALSE(sample_data::wantsEntry(5, 9));
    EXPECT_FALSE(sample_data::wantsEntry(5, 15));
    EXPECT_FALSE(sample_data::wantsEntry(5, 21));
    EXPECT_TRUE(sample_data::wantsEntry(5, 3));
}

TEST(SampleData, NoChoicesGiveNoEntries) {
    EXPECT_TRUE(sample_data::pattern(0, 14).empty());
    EXPECT_TRUE(sample_data::pattern(7, 0).empty());
}

TEST(SampleData, RatesInOrder) {
    ASSERT_EQ(sample_data::kRates.size(), 7u);
    EXPECT_STREQ(sample_data::kRates[0].description, "Regular");
    EXPECT_STREQ(sample_data::kRates[0].rate, "11.50");
    EXPECT_STREQ(sample_data::kRates[4].rate, "14.58");
    EXPECT_STREQ(sample_data::kRates[6].description, "Other");
    EXPECT_STREQ(sample_data::kRates[6].rate, "11");
}

}  // namespace
}  // namespace tallowby
