// Dates, durations and times of day as trackers write them.
#include "timesheet/import/tracker_values.h"

#include <gtest/gtest.h>

namespace {

namespace tv = tallowby::tracker_values;

std::optional<QDate> date(const char* text, bool dayFirst = false) {
    const auto parsed = tv::parseDate(QString::fromUtf8(text));
    if (!parsed) return std::nullopt;
    return tv::toDate(*parsed, dayFirst);
}

TEST(TrackerValuesTest, DatesInEveryFormReadAsTheSameDay) {
    const QDate day(2027, 1, 4);
    EXPECT_EQ(date("2027-01-04"), day);
    EXPECT_EQ(date("2027-1-4"), day);
    EXPECT_EQ(date(" 2027-01-04 09:15 "), day);
    EXPECT_EQ(date("2027-01-04T09:15:00"), day);
    EXPECT_EQ(date("04.01.2027"), day);
    EXPECT_EQ(date("4.1.27"), day);
    EXPECT_EQ(date("1/4/2027", false), day);
    EXPECT_EQ(date("04/01/2027", true), day);
    EXPECT_EQ(date("4/1/27", true), day);
}

TEST(TrackerValuesTest, TextsThatAreNoDayAreRefused) {
    for (const char* text : {"", "yesterday", "2027-13-01", "31.02.2027", "2027/01/04", "1-4-2027",
                             "04.01", "123/1/2027"})
        EXPECT_FALSE(date(text, true)) << text;
    EXPECT_FALSE(date("13/1/2027", false));  // month 13 read month first
}

TEST(TrackerValuesTest, SlashedDatesFollowTheLocaleOrder) {
    EXPECT_FALSE(tv::localeWritesDayFirst(QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_TRUE(tv::localeWritesDayFirst(QLocale(QLocale::English, QLocale::UnitedKingdom)));
    EXPECT_TRUE(tv::localeWritesDayFirst(QLocale(QLocale::German, QLocale::Germany)));
}

TEST(TrackerValuesTest, DurationsAsClockTextOrDecimalHours) {
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(tv::parseDuration("1:30", c), 90);
    EXPECT_EQ(tv::parseDuration(" 01:30 ", c), 90);
    EXPECT_EQ(tv::parseDuration("0:45:29", c), 45);
    EXPECT_EQ(tv::parseDuration("0:45:30", c), 46);  // seconds to the nearest minute
    EXPECT_EQ(tv::parseDuration("26:05", c), 26 * 60 + 5);
    EXPECT_EQ(tv::parseDuration("1.5", c), 90);
    EXPECT_EQ(tv::parseDuration("0.25", c), 15);
    EXPECT_EQ(tv::parseDuration("2", c), 120);
    EXPECT_EQ(tv::parseDuration("1.", c), 60);
    EXPECT_EQ(tv::parseDuration("1,75", german), 105);
    EXPECT_EQ(tv::parseDuration("1.75", german), 105);  // a point is read everywhere
    EXPECT_FALSE(tv::parseDuration("1,75", c));         // a comma only where the locale writes one
    for (const char* text : {"", "abc", "1:60", "1:5", "-1", "1:00:75", "1.5h", "1.2.3"})
        EXPECT_FALSE(tv::parseDuration(QString::fromUtf8(text), c)) << text;
}

TEST(TrackerValuesTest, TimesOfDayAndTheMinutesBetweenThem) {
    EXPECT_EQ(tv::parseTimeOfDay("9:00"), 540);
    EXPECT_EQ(tv::parseTimeOfDay("17:15:00"), 17 * 60 + 15);
    EXPECT_EQ(tv::parseTimeOfDay("2027-01-04 08:30"), 510);
    EXPECT_EQ(tv::parseTimeOfDay("12:05 AM"), 5);
    EXPECT_EQ(tv::parseTimeOfDay("1:30 pm"), 13 * 60 + 30);
    for (const char* text : {"", "24:00", "9", "13:00 PM", "9:61", "noon"})
        EXPECT_FALSE(tv::parseTimeOfDay(QString::fromUtf8(text))) << text;
    EXPECT_EQ(tv::minutesBetween(540, 1020), 480);
    EXPECT_EQ(tv::minutesBetween(22 * 60, 2 * 60), 240);  // past midnight
    EXPECT_EQ(tv::minutesBetween(600, 600), 0);
}

TEST(TrackerValuesTest, HoursTextIsWhatTheHoursListWrites) {
    EXPECT_EQ(tv::hoursText(90), "01:30");
    EXPECT_EQ(tv::hoursText(0), "00:00");
    EXPECT_EQ(tv::hoursText(25 * 60 + 5), "25:05");
    EXPECT_EQ(tv::hoursText(123 * 60), "123:00");
}

}  // namespace
