#include "timesheet/entry_placement.h"

#include <gtest/gtest.h>

namespace tallowby {
namespace {

HoursEntry entry(const char* hours, const char* dayIndex, const char* rateIndex) {
    return {QStringLiteral("day %1").arg(dayIndex), QStringLiteral("type %1").arg(rateIndex), hours,
            dayIndex, rateIndex};
}

TEST(EntryPlacement, SharesACellPerDayAndRateAndLeavesOutWhatHasNoPlace) {
    const std::vector<HoursEntry> list{
        entry("01:00", "0", "0"),   entry("02:00", "6", "8"),  entry("03:00", "0", "0"),
        entry("04:00", " 3 ", "2"), entry("05:00", "7", "0"),  entry("06:00", "-1", "0"),
        entry("07:00", "0", "9"),   entry("08:00", "0", "-1"), entry("09:00", "2x", "0"),
        entry("10:00", "", "0"),    entry("11:00", "1.5", "0")};
    const EntryPlacement p = placeEntries(list, 9);
    ASSERT_EQ(p.cells.size(), 3u);
    EXPECT_EQ(p.cells[0].row, 12);
    EXPECT_EQ(p.cells[0].column, 2);
    ASSERT_EQ(p.cells[0].entries.size(), 2u);
    // The cell points at the list's own entries, in list order.
    EXPECT_EQ(p.cells[0].entries[0], &list[0]);
    EXPECT_EQ(p.cells[0].entries[1], &list[2]);
    EXPECT_EQ(p.cells[1].row, 18);  // the last day, the ninth rate
    EXPECT_EQ(p.cells[1].column, 10);
    EXPECT_EQ(p.cells[2].row, 15);
    QStringList leftOut;
    for (const HoursEntry& e : p.leftOut) leftOut << e.hours;
    EXPECT_EQ(leftOut,
              (QStringList{"05:00", "06:00", "07:00", "08:00", "09:00", "10:00", "11:00"}));
}

TEST(LeftOutMessage, CountsNamesAndCapsTheList) {
    EXPECT_TRUE(leftOutMessage({}).isEmpty());
    const QString one = leftOutMessage({{"", "Regular", "01:00", "-1", "0"}});
    EXPECT_TRUE(one.startsWith("1 hours entry was left out")) << one.toStdString();
    EXPECT_TRUE(one.contains("\n(none), Regular, 01:00\n"));

    std::vector<HoursEntry> many;
    for (int i = 0; i < 25; ++i) many.push_back(entry("02:00", "9", QByteArray::number(i)));
    const QString text = leftOutMessage(many, 20);
    EXPECT_TRUE(text.startsWith("25 hours entries were left out"));
    EXPECT_TRUE(text.contains("\nday 9, type 19, 02:00\n"));
    EXPECT_FALSE(text.contains("type 20,"));
    EXPECT_TRUE(text.contains("\n... and 5 more.\n"));
}

TEST(EntryPlacement, OnlyDurationsAreCounted) {
    for (const char* good : {"0:00", "8:30", "08:30", " 2:05 ", "9999:59", "24:00", "0000:00"})
        EXPECT_TRUE(isDuration(good)) << good;
    for (const char* bad : {"", "abc", "-1:00", "8:75", "25:61", "99999:00", "8", "8:5", "8:300",
                            "1:00:00", "8.5", "+1:00", "1:00 pm", "\u0661:00"})
        EXPECT_FALSE(isDuration(QString::fromUtf8(bad))) << bad;
    const std::vector<HoursEntry> list{entry("02:00", "0", "0"), entry("8:75", "0", "0"),
                                       entry("abc", "1", "0")};
    const EntryPlacement p = placeEntries(list, 7);
    ASSERT_EQ(p.cells.size(), 1u);
    EXPECT_EQ(p.cells[0].entries.size(), 1u);
    ASSERT_EQ(p.leftOut.size(), 2u);
    EXPECT_EQ(p.leftOut[0].hours, "8:75");
    EXPECT_EQ(p.leftOut[1].hours, "abc");
}

TEST(LeftOutMessage, QuotesLongFieldsCut) {
    const QString text =
        leftOutMessage({{QString(200000, 'd'), "Regular", QString(100, 'h'), "-1", "0"}});
    EXPECT_TRUE(text.contains("\n" + QString(80, 'd') + QChar(0x2026) + ", Regular, " +
                              QString(80, 'h') + QChar(0x2026) + "\n"))
        << text.left(400).toStdString();
    EXPECT_LT(text.size(), 600);
}

}  // namespace
}  // namespace tallowby
