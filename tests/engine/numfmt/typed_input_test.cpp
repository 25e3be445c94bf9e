#include "workbook/engine/input/typed_input.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <span>

namespace tallowby::engine {
namespace {

constexpr int kYear = 2026;
using Kind = TypedInput::Kind;

TypedInput us(std::string_view typed, std::string_view format = "General") {
    return readTypedInput(typed, format, QLocale(QLocale::English, QLocale::UnitedStates), kYear);
}

TypedInput german(std::string_view typed, std::string_view format = "General") {
    return readTypedInput(typed, format, QLocale(QLocale::German, QLocale::Germany), kYear);
}

void expectNumber(const TypedInput& input, double value, const std::string& format) {
    ASSERT_EQ(input.kind, Kind::Number) << "text: " << input.text;
    EXPECT_NEAR(input.number, value, 1e-9);
    EXPECT_EQ(input.adoptedFormat, format);
}

// What is typed into a General cell, the number it reads as and the format
// the cell adopts.
struct NumberCase {
    const char* typed;
    double value;
    const char* format;
};

void expectNumbers(TypedInput (*read)(std::string_view, std::string_view),
                   std::span<const NumberCase> cases) {
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.typed);
        expectNumber(read(c.typed, "General"), c.value, c.format);
    }
}

TEST(TypedInputUs, NumbersWithSignsSeparatorsAndBlanks) {
    const NumberCase cases[] = {
        {"11.50", 11.5, ""},
        {" 11.5 ", 11.5, ""},
        {"-3", -3, ""},
        {"+3", 3, ""},
        {"(42)", -42, ""},
        {"1,234", 1234, "#,##0"},
        {"1,234,567.5", 1234567.5, "#,##0.00"},
        {".5", 0.5, ""},
        {"1e3", 1000, "0.00E+00"},
        {"2.5E-2", 0.025, "0.00E+00"},
        {"1 1/2", 1.5, "# ?/?"},
        {"0 1/2", 0.5, "# ?/?"},
    };
    expectNumbers(us, cases);
}

TEST(TypedInputUs, PercentAndCurrency) {
    const NumberCase cases[] = {
        {"5%", 0.05, "0%"},
        {"12.3%", 0.123, "0.00%"},
        {"$5.00", 5, "\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)"},
        {"-$1,000", -1000, "\"$\"#,##0_);\\(\"$\"#,##0\\)"},
        {"$-7", -7, "\"$\"#,##0_);\\(\"$\"#,##0\\)"},
    };
    expectNumbers(us, cases);
}

TEST(TypedInputUs, MalformedNumbersStayText) {
    for (const char* typed : {"1,23", "12,34,567", "1.2.3", "--5", "5-", "1e", "e5", "$", "%",
                              "1,234.5.6", "1 2", "abc", "1/0 1", "1 3/2", "$5%"}) {
        const TypedInput input = us(typed);
        EXPECT_EQ(input.kind, Kind::Text) << typed << " read as " << input.number;
        EXPECT_EQ(input.text, typed);
    }
}

TEST(TypedInputUs, Times) {
    const NumberCase cases[] = {
        {"02:00", 2.0 / 24, "h:mm"},
        {"14:30:15", (14 * 3600 + 30 * 60 + 15) / 86400.0, "h:mm:ss"},
        {"2:00 PM", 14.0 / 24, "h:mm AM/PM"},
        {"12:15 am", 0.25 / 24, "h:mm AM/PM"},
        {"3 pm", 15.0 / 24, "h:mm AM/PM"},
        {"25:30", 1.0625, "[h]:mm:ss"},
        {"1:02.5", 62.5 / 86400, "mm:ss.0"},
    };
    expectNumbers(us, cases);
    for (const char* typed : {"1:60", "10:30:75", "13:00 PM", "1::2", ":30", "1:2:3:4"})
        EXPECT_EQ(us(typed).kind, Kind::Text) << typed;
}

TEST(TypedInputUs, DatesInLocaleAndIsoForms) {
    const NumberCase cases[] = {
        {"8/30/2021", 44438, "m/d/yyyy"},
        {"8/30/21", 44438, "m/d/yyyy"},
        {"2021-08-30", 44438, "yyyy-mm-dd"},
        {"30-Aug-2021", 44438, "d-mmm-yy"},
        {"August 30, 2021", 44438, "d-mmm-yy"},
        {"Monday, August 30, 2021", 44438, "d-mmm-yy"},
        {"Aug-2021", 44409, "mmm-yy"},
        // Without a year the date falls in the current one.
        {"1/2", 46024, "d-mmm"},
        {"30-Aug", 46264, "d-mmm"},
    };
    expectNumbers(us, cases);
}

TEST(TypedInputUs, TwoDigitYearsAndThe1900Calendar) {
    const NumberCase cases[] = {
        {"1/1/29", 47119, "m/d/yyyy"},  // 2029
        {"1/1/30", 10959, "m/d/yyyy"},  // 1930
        {"1/1/1900", 1, "m/d/yyyy"},   {"2/28/1900", 59, "m/d/yyyy"},
        {"2/29/1900", 60, "m/d/yyyy"},  // the day the 1900 system counts
        {"3/1/1900", 61, "m/d/yyyy"},
    };
    expectNumbers(us, cases);
    for (const char* typed :
         {"2/29/2021", "13/1/2021", "0/1/2021", "4/31/2021", "1/1/1899", "1/1/123"})
        EXPECT_EQ(us(typed).kind, Kind::Text) << typed;
}

TEST(TypedInputUs, DateAndTime) {
    expectNumber(us("8/30/2021 14:30"), 44438 + 14.5 / 24, "m/d/yyyy h:mm");
    expectNumber(us("2021-08-30T06:00:30"), 44438 + (6 * 3600 + 30) / 86400.0,
                 "yyyy-mm-dd h:mm:ss");
    expectNumber(us("8/30/2021 2:30 PM"), 44438 + 14.5 / 24, "m/d/yyyy h:mm");
}

TEST(TypedInputUs, BooleansTextAndEmpty) {
    for (const char* typed : {"TRUE", "true", "True", " TRUE "}) {
        EXPECT_EQ(us(typed).kind, Kind::Boolean) << typed;
        EXPECT_EQ(us(typed).number, 1);
    }
    EXPECT_EQ(us("false").kind, Kind::Boolean);
    EXPECT_EQ(us("false").number, 0);
    EXPECT_EQ(us("").kind, Kind::Empty);

    const TypedInput quoted = us("'11.50");
    EXPECT_EQ(quoted.kind, Kind::Text);
    EXPECT_EQ(quoted.text, "11.50");
    EXPECT_TRUE(quoted.quotePrefix);

    const TypedInput name = us("  Regular ");
    EXPECT_EQ(name.kind, Kind::Text);
    EXPECT_EQ(name.text, "  Regular ");  // text keeps its blanks
    EXPECT_FALSE(name.quotePrefix);
    EXPECT_EQ(us("   ").kind, Kind::Text);
}

TEST(TypedInputUs, FormattedCellsKeepTheirFormat) {
    expectNumber(us("02:00", "0.00"), 2.0 / 24, "");
    expectNumber(us("5%", "0.00"), 0.05, "");
    expectNumber(us("8/30/2021", "[h]:mm"), 44438, "");
    expectNumber(us("12", "h:mm"), 12, "");
    // A text format keeps everything as text, blanks included.
    for (const char* typed : {"11.50", "02:00", "TRUE", " 8/30/2021"}) {
        const TypedInput input = us(typed, "@");
        EXPECT_EQ(input.kind, Kind::Text) << typed;
        EXPECT_EQ(input.text, typed);
        EXPECT_TRUE(input.adoptedFormat.empty());
    }
}

TEST(TypedInputGerman, DecimalCommaAndDotGroups) {
    const NumberCase cases[] = {
        {"11,5", 11.5, ""},       {"1.234,5", 1234.5, "#,##0.00"},
        {"1.234", 1234, "#,##0"}, {"-0,25", -0.25, ""},
        {"5 %", 0.05, "0%"},      {"5,00 €", 5, "#,##0.00 \"€\""},
    };
    expectNumbers(german, cases);
    EXPECT_EQ(german("1,234.5").kind, Kind::Text);
}

TEST(TypedInputGerman, DatesAndTimes) {
    const NumberCase cases[] = {
        {"30.08.2021", 44438, "dd.mm.yyyy"},
        {"30.8.21", 44438, "dd.mm.yyyy"},
        {"2021-08-30", 44438, "yyyy-mm-dd"},
        {"30. August 2021", 44438, "d-mmm-yy"},
        {"14:30", 14.5 / 24, "h:mm"},
        {"14:30:15,5", (14 * 3600 + 30 * 60 + 15.5) / 86400.0, "h:mm:ss"},
        {"30.08.2021 14:30", 44438 + 14.5 / 24, "dd.mm.yyyy h:mm"},
        // "1.5" is not a valid grouped number, so it is a day and month.
        {"1.5", 46143, "d-mmm"},
    };
    expectNumbers(german, cases);
    EXPECT_EQ(german("WAHR").kind, Kind::Boolean);
    EXPECT_EQ(german("falsch").number, 0);
    EXPECT_EQ(german("TRUE").kind, Kind::Boolean);
}

TEST(TypedInputOtherLocales, FrenchSpacesGroupAndCLocaleReadsLikeEnglish) {
    const QLocale french(QLocale::French, QLocale::France);
    const TypedInput spaced = readTypedInput("1 234,5", "General", french, kYear);
    ASSERT_EQ(spaced.kind, Kind::Number);
    EXPECT_DOUBLE_EQ(spaced.number, 1234.5);
    EXPECT_EQ(readTypedInput("VRAI", "General", french, kYear).kind, Kind::Boolean);
    const TypedInput date = readTypedInput("30/08/2021", "General", french, kYear);
    ASSERT_EQ(date.kind, Kind::Number);
    EXPECT_EQ(date.number, 44438);
    EXPECT_EQ(date.adoptedFormat, "dd/mm/yyyy");

    const TypedInput plain = readTypedInput("1,234.5", "General", QLocale::c(), kYear);
    ASSERT_EQ(plain.kind, Kind::Number);
    EXPECT_DOUBLE_EQ(plain.number, 1234.5);
    EXPECT_EQ(readTypedInput("8/30/2021", "General", QLocale::c(), kYear).number, 44438);
}

}  // namespace
}  // namespace tallowby::engine
