#include "timesheet/packed_list.h"

#include <gtest/gtest.h>

namespace tallowby {
namespace {

using Rows = std::vector<QStringList>;
using packed_list::pack;
using packed_list::unpack;

TEST(PackedList, TextWithoutSpecialCharactersIsWrittenAsBefore) {
    EXPECT_EQ(pack({{"Regular", "11.50"}, {"Overtime", "12.70"}}), "Regular^11.50|Overtime^12.70");
    EXPECT_EQ(pack({{"Unpaid", ""}}), "Unpaid^");
    EXPECT_EQ(pack({}), "");
    EXPECT_EQ(pack({{"Monday, August 30, 2021", "Regular", "02:00", "0", "0"}}),
              "Monday, August 30, 2021^Regular^02:00^0^0");
}

TEST(PackedList, ReadingTheSpecifiedForms) {
    EXPECT_EQ(unpack("Regular^11.50|Overtime^12.70"),
              (Rows{{"Regular", "11.50"}, {"Overtime", "12.70"}}));
    EXPECT_EQ(unpack("Unpaid^"), (Rows{{"Unpaid", ""}}));
    EXPECT_TRUE(unpack("").empty());
    // A trailing "|" and empty parts add no rows.
    EXPECT_EQ(unpack("Regular^1|"), (Rows{{"Regular", "1"}}));
    EXPECT_EQ(unpack("a||b"), (Rows{{"a"}, {"b"}}));
    EXPECT_TRUE(unpack("|||").empty());
    // Blanks are content.
    EXPECT_EQ(unpack("   "), (Rows{{"   "}}));
    // Fewer fields than columns: the row has what was stored.
    EXPECT_EQ(unpack("Regular"), (Rows{{"Regular"}}));
    // More fields than columns: all are handed back; the list decides.
    EXPECT_EQ(unpack("a^b^c^d"), (Rows{{"a", "b", "c", "d"}}));
}

TEST(PackedList, SeparatorsInsideFieldsNoLongerSplitOrShiftRows) {
    const Rows rows{{"Day|shift", "1^2"}, {"back\\slash", "\\|^"}, {"", ""}, {"plain", "x"}};
    const QString text = pack(rows);
    EXPECT_EQ(text, "Day\\|shift^1\\^2|back\\\\slash^\\\\\\|\\^|^|plain^x");
    EXPECT_EQ(unpack(text), rows);
}

TEST(PackedList, EveryRowOfEveryShapeSurvivesTheRoundTrip) {
    const QStringList pieces{"", "|", "^", "\\", "a", " ", "\\|", "^^", "x\\", "\\\\^"};
    Rows rows;
    for (const QString& a : pieces)
        for (const QString& b : pieces) rows.push_back({a + "d", b});
    EXPECT_EQ(unpack(pack(rows)), rows);
}

TEST(PackedList, HandWrittenBackslashesBeforeOtherCharactersStayLiteral) {
    EXPECT_EQ(unpack("C:\\temp^1"), (Rows{{"C:\\temp", "1"}}));
    EXPECT_EQ(unpack("end\\"), (Rows{{"end\\"}}));
}

}  // namespace
}  // namespace tallowby
