#include "timesheet/packed_list.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// The store hands a big list over in pieces of its UTF-8 bytes, cut
// anywhere: inside an escape, between a backslash and what it escapes, inside
// a character of several bytes.
TEST(PackedList, RowsReadPieceByPieceAreTheRowsOfTheWholeText) {
    const QString text = QString::fromUtf8(
        "Montag \xC3\xA4\xE2\x82\xAC^Regular^02:00^0^0|back\\\\slash^\\|^\\^x||"
        "C:\\temp^1|\xF0\x9F\x98\x80^end\\");
    const Rows whole = unpack(text);
    ASSERT_EQ(whole.size(), 4u);
    EXPECT_EQ(whole[0][0], QString::fromUtf8("Montag \xC3\xA4\xE2\x82\xAC"));
    const QByteArray bytes = text.toUtf8();
    for (qsizetype piece = 1; piece <= bytes.size(); ++piece) {
        Rows rows;
        packed_list::RowReader reader([&](const QStringList& row) { rows.push_back(row); });
        for (qsizetype at = 0; at < bytes.size(); at += piece)
            reader.feed(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
        reader.finish();
        EXPECT_EQ(rows, whole) << "pieces of " << piece;
    }
}

TEST(PackedList, RepeatedFieldTextsShareOneString) {
    Rows rows;
    packed_list::RowReader reader([&](const QStringList& row) { rows.push_back(row); });
    reader.feed("Mon^02:00|Tue^02:00|Mon^02:00|");
    reader.finish();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][0].constData(), rows[0][0].constData());
    EXPECT_EQ(rows[1][1].constData(), rows[0][1].constData());
    EXPECT_NE(rows[1][0].constData(), rows[0][0].constData());
}

}  // namespace
}  // namespace tallowby
