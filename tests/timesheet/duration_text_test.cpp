#include "timesheet/duration_text.h"

#include <gtest/gtest.h>

#include "workbook/automation/typed_number_text.h"

using namespace tallowby;

namespace {
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
}  // namespace

TEST(DurationText, ReadsEveryTypedForm) {
    for (const QLocale& locale : {kEnglish, kGerman}) {
        EXPECT_EQ(duration_text::parse("8", locale), 480);
        EXPECT_EQ(duration_text::parse(" 8:30 ", locale), 510);
        EXPECT_EQ(duration_text::parse("830", locale), 510);
        EXPECT_EQ(duration_text::parse("0800", locale), 480);
        EXPECT_EQ(duration_text::parse("8.5", locale), 510);
        EXPECT_EQ(duration_text::parse("0.25", locale), 15);
        EXPECT_EQ(duration_text::parse(".75", locale), 45);
        EXPECT_EQ(duration_text::parse("24", locale), 1440);
        EXPECT_EQ(duration_text::parse("0", locale), 0);
    }
    EXPECT_EQ(duration_text::parse("8,5", kGerman), 510);
    EXPECT_EQ(duration_text::parse("1,333", kGerman), 80);  // rounded to the minute
}

TEST(DurationText, RefusesWhatIsNoDuration) {
    for (const char* typed : {"", "  ", "abc", "8:5", "8:60", "-1", "25", "24:01", "2460", "12345",
                              "8h", "1.2.3", "8:30:00"})
        EXPECT_FALSE(duration_text::parse(typed, kEnglish)) << typed;
    // A comma is a decimal separator only where the locale writes one.
    EXPECT_FALSE(duration_text::parse("8,5", kEnglish));
}

TEST(DurationText, StoredFormBothWays) {
    EXPECT_EQ(duration_text::format(0), "00:00");
    EXPECT_EQ(duration_text::format(510), "08:30");
    EXPECT_EQ(duration_text::format(1575), "26:15");  // a cell's sum may pass a day
    EXPECT_EQ(duration_text::fromStored("26:15"), 1575);
    EXPECT_EQ(duration_text::fromStored("7:05"), 425);
    EXPECT_FALSE(duration_text::fromStored("7.5"));
    EXPECT_FALSE(duration_text::fromStored(":30"));
    EXPECT_FALSE(duration_text::fromStored("07:75"));
}

TEST(TypedNumberReader, ReadsRatesAsTheLocaleTypesThem) {
    const automation::TypedNumberReader english(kEnglish);
    const automation::TypedNumberReader german(kGerman);
    EXPECT_EQ(english("11.50"), 11.5);
    EXPECT_EQ(english(" $13 "), 13);
    EXPECT_EQ(english("1,250.5"), 1250.5);
    EXPECT_EQ(german("12,50"), 12.5);
    EXPECT_FALSE(english("12,50"));
    for (const char* text : {"", "abc", "=2*3", "1/2/2021", "08:00", "12.50 per hour"}) {
        EXPECT_FALSE(english(text)) << text;
        EXPECT_FALSE(german(text)) << text;
    }
}
