#include "timesheet/week_start_date.h"

#include <gtest/gtest.h>

namespace tallowby {
namespace {

using week_start_date::dayChoiceText;
using week_start_date::fromStoredText;
using week_start_date::toStoredText;

const QDate kToday(2026, 12, 8);

TEST(WeekStartDate, StoredAsIsoWhateverTheLocale) {
    EXPECT_EQ(toStoredText(QDate(2021, 8, 30)), "2021-08-30");
    EXPECT_EQ(toStoredText(QDate(1999, 1, 2)), "1999-01-02");
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(fromStoredText("2021-08-30", german, kToday), QDate(2021, 8, 30));
    EXPECT_EQ(fromStoredText("1905-12-31", QLocale::c(), kToday), QDate(1905, 12, 31));
}

TEST(WeekStartDate, OlderLocaleFormsAreStillRead) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(fromStoredText("8/30/2021", us, kToday), QDate(2021, 8, 30));
    // Two-digit years land in this century, not the last one.
    EXPECT_EQ(fromStoredText("8/30/21", us, kToday), QDate(2021, 8, 30));
    EXPECT_EQ(fromStoredText("8/30/99", us, kToday), QDate(1999, 8, 30));
    EXPECT_EQ(fromStoredText(us.toString(QDate(2021, 8, 30), QLocale::LongFormat), us, kToday),
              QDate(2021, 8, 30));
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(fromStoredText("30.08.21", german, kToday), QDate(2021, 8, 30));
}

TEST(WeekStartDate, AnythingElseIsNoDate) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    for (const char* text : {"", "   ", "not a date", "2021-02-30", "2021-13-01", "13/45/2021",
                             "2021-8-3x", "99999-01-01"})
        EXPECT_FALSE(fromStoredText(QString::fromLatin1(text), us, kToday).has_value()) << text;
}

TEST(WeekStartDate, DayChoiceTextUsesFullNamesAndNoLeadingZero) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(dayChoiceText(QDate(2021, 8, 30), us), "Monday, August 30, 2021");
    EXPECT_EQ(dayChoiceText(QDate(2021, 9, 5), us), "Sunday, September 5, 2021");
    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(dayChoiceText(QDate(2021, 9, 5), french), "dimanche, septembre 5, 2021");
}

}  // namespace
}  // namespace tallowby
