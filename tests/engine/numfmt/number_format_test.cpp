#include "workbook/engine/numfmt/number_format.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>
#include <span>

#include "workbook/engine/numfmt/serial_date.h"

namespace tallowby::engine {
namespace {

const FormatLocale kEnglish = FormatLocale::english();

std::string show(double value, std::string_view code) {
    return formatNumber(value, code, kEnglish).text;
}

// A value, a format code and what the code shows for the value.
struct ShownCase {
    double value;
    const char* code;
    const char* shown;
};

void expectShown(std::span<const ShownCase> cases) {
    for (const ShownCase& c : cases)
        EXPECT_EQ(show(c.value, c.code), c.shown) << c.value << " as " << c.code;
}

double serial(int y, int m, int d) {
    return static_cast<double>(*serialFromDate(y, m, d));
}

double timeOfDay(int h, int m, double s) {
    return (h * 3600 + m * 60 + s) / 86400.0;
}

TEST(NumberFormatTimes, CoarserUnitsAreCutAfterSecondsAreRounded) {
    const ShownCase cases[] = {
        {timeOfDay(10, 29, 40), "h:mm", "10:29"},
        {timeOfDay(10, 29, 59.6), "h:mm", "10:30"},
        {timeOfDay(10, 29, 59.6), "h:mm:ss", "10:30:00"},
        {timeOfDay(10, 29, 59.64), "h:mm:ss.0", "10:29:59.6"},
        {timeOfDay(23, 59, 59.7), "d h:mm:ss", "1 0:00:00"},  // carries into the day
        {2.9999999999999996, "[h]:mm:ss", "72:00:00"},
    };
    expectShown(cases);
}

TEST(NumberFormatTimes, ElapsedHoursMinutesSeconds) {
    const ShownCase cases[] = {
        {1.0625, "[h]:mm", "25:30"},
        {1.0625, "[h]:mm:ss", "25:30:00"},
        {1.5, "[m]", "2160"},
        {1.5, "[mm]:ss", "2160:00"},
        {timeOfDay(0, 2, 5), "[s]", "125"},
        {timeOfDay(0, 2, 5), "[ss]", "125"},
        {timeOfDay(0, 0, 5), "[hh]:mm", "00:00"},
        {2.0 / 24, "h:mm", "2:00"},
        {timeOfDay(0, 5, 7.25), "mm:ss.00", "05:07.25"},
    };
    expectShown(cases);
}

TEST(NumberFormatTimes, TwelveHourClock) {
    const ShownCase cases[] = {
        {0, "h:mm AM/PM", "12:00 AM"},
        {0.5, "h:mm AM/PM", "12:00 PM"},
        {timeOfDay(14, 5, 0), "hh:mm A/P", "02:05 P"},
        {timeOfDay(9, 5, 0), "h:mm a/p", "9:05 a"},
        {timeOfDay(14, 5, 0), "h", "14"},
    };
    expectShown(cases);
}

TEST(NumberFormatDates, The1900SystemAndItsFictitiousLeapDay) {
    const ShownCase cases[] = {
        {1, "yyyy-mm-dd", "1900-01-01"},  {59, "yyyy-mm-dd", "1900-02-28"},
        {60, "yyyy-mm-dd", "1900-02-29"}, {61, "yyyy-mm-dd", "1900-03-01"},
        {0, "m/d/yyyy", "1/0/1900"},      {1, "ddd", "Sun"},
        {61, "dddd", "Thursday"},         {2958465, "yyyy-mm-dd", "9999-12-31"},
    };
    expectShown(cases);
    EXPECT_EQ(serial(2021, 8, 30), 44438);
}

TEST(NumberFormatDates, TokensNamesAndMinutesVersusMonths) {
    const double day = serial(2021, 8, 30) + timeOfDay(7, 4, 9);
    const ShownCase cases[] = {
        {day, "dddd, mmmm d, yyyy", "Monday, August 30, 2021"},
        {day, "ddd dd mmm yy", "Mon 30 Aug 21"},
        {day, "mmmmm", "A"},
        {day, "m/d/yy h:mm", "8/30/21 7:04"},
        {day, "mm:ss", "04:09"},                  // before seconds: minutes
        {day, "h \"h\" m \"min\"", "7 h 4 min"},  // after an hour: minutes
        {day, "m", "8"},                          // alone: the month
        {day, "[$-409]d-mmm-yy;@", "30-Aug-21"},
    };
    expectShown(cases);
}

TEST(NumberFormatDates, The1904System) {
    EXPECT_EQ(formatNumber(0, "yyyy-mm-dd", kEnglish, true).text, "1904-01-01");
    EXPECT_EQ(formatNumber(0, "dddd", kEnglish, true).text, "Friday");
    EXPECT_EQ(formatNumber(1461, "yyyy-mm-dd", kEnglish, true).text, "1908-01-01");
}

TEST(NumberFormatDates, OutOfRangeFillsTheCellWithHashes) {
    for (double value : {-1.0, 2958466.0, 1e300}) {
        const FormattedValue shown = formatNumber(value, "m/d/yyyy", kEnglish);
        EXPECT_EQ(shown.text, "") << value;
        EXPECT_EQ(shown.fillAt, 0);
        EXPECT_EQ(shown.fillText, "#");
    }
}

TEST(NumberFormatNumbers, PlaceholdersGroupsScalingAndPercent) {
    const ShownCase cases[] = {
        {1234.5, "0", "1235"},
        {1234.5, "0.00", "1234.50"},
        {1234.5, "#,##0.00", "1,234.50"},
        {-1234.5, "#,##0.00", "-1,234.50"},
        {1.005, "0.00", "1.01"},  // rounds the decimal value typed
        {1234567, "#,##0,", "1,235"},
        {1234567, "0.0,,\" M\"", "1.2 M"},
        {0.1234, "0.0%", "12.3%"},
        {5, "000", "005"},
        {0.5, "#.##", ".5"},
        {3, "?.??", "3.  "},
        {1234, "0.00E+00", "1.23E+03"},
        {0.000123, "0.0E-0", "1.2E-4"},
        {9.999, "0.00E+00", "1.00E+01"},
        {1234, ".00E+00", ".12E+04"},
        {0.9996, ".00E+0", ".10E+1"},
        {1.5, "# ?/?", "1 1/2"},
        {0.3, "# ?/8", " 2/8"},
        {2, "# ?/?", "2    "},
    };
    expectShown(cases);
}

TEST(NumberFormatNumbers, LiteralsPaddingAndFill) {
    const ShownCase cases[] = {
        {5, "\"Total: \"0", "Total: 5"},
        {5, "0\\h", "5h"},
        {5, "0_)", "5 "},
        {5, "(0)", "(5)"},
    };
    expectShown(cases);
    const FormattedValue filled = formatNumber(5, "0*-", kEnglish);
    EXPECT_EQ(filled.text, "5");
    EXPECT_EQ(filled.fillAt, 1);
    EXPECT_EQ(filled.fillText, "-");
    EXPECT_EQ(formatNumber(5, "*x0", kEnglish).fillAt, 0);
    EXPECT_EQ(formatNumber(5, "0", kEnglish).fillAt, -1);
    const FormattedValue utf8 = formatNumber(5,
                                             "*\xE2\x82\xAC"
                                             "0",
                                             kEnglish);  // fill with €
    EXPECT_EQ(utf8.fillText, "\xE2\x82\xAC");
    EXPECT_EQ(utf8.text, "5");
}

TEST(NumberFormatSections, SignZeroTextAndConditions) {
    const char* code = "0.0;(0.0);\"zero\";\"[\"@\"]\"";
    EXPECT_EQ(show(2, code), "2.0");
    EXPECT_EQ(show(-2, code), "(2.0)");
    EXPECT_EQ(show(0, code), "zero");
    EXPECT_EQ(formatText("abc", code, kEnglish).text, "[abc]");
    const ShownCase cases[] = {
        {-2, "0;0", "2"},
        {0, "0;-0", "0"},
        {150, "[>100]\"big\";\"small\"", "big"},
        {50, "[>100]\"big\";\"small\"", "small"},
        {-3, "0;", ""},  // an empty negative section hides the value
    };
    expectShown(cases);
    EXPECT_EQ(formatText("abc", "0.00", kEnglish).text, "abc");
    EXPECT_EQ(formatText("abc", "@", kEnglish).text, "abc");
}

TEST(NumberFormatSections, Colours) {
    const char* code = "[Blue]0;[Red]-0;[Color10]0";
    EXPECT_EQ(formatNumber(1, code, kEnglish).colour, 0x0000FFu);
    EXPECT_EQ(formatNumber(-1, code, kEnglish).colour, 0xFF0000u);
    EXPECT_EQ(formatNumber(-1, code, kEnglish).text, "-1");
    EXPECT_EQ(formatNumber(0, code, kEnglish).colour, 0x008000u);
    EXPECT_FALSE(formatNumber(1, "0", kEnglish).colour.has_value());
}

TEST(NumberFormatBuiltIns, AccountingPadsAndFills) {
    const char* code = "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)";
    const FormattedValue positive = formatNumber(1234.5, code, kEnglish);
    EXPECT_EQ(positive.text, " $1,234.50 ");
    EXPECT_EQ(positive.fillAt, 2);
    EXPECT_EQ(positive.fillText, " ");
    EXPECT_EQ(show(-1234.5, code), " $(1,234.50)");
    EXPECT_EQ(show(0, code), " $-   ");
    EXPECT_EQ(formatText("Rate", code, kEnglish).text, " Rate ");
    EXPECT_EQ(show(-7, "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"), " (7)");
}

TEST(NumberFormatBuiltIns, TheWorkbookTableCodes) {
    // The codes the workbook model lists for ids 14, 22, 37, 39, 45-47.
    const double when = serial(2021, 8, 30) + timeOfDay(14, 30, 0);
    const ShownCase cases[] = {
        {when, "m/d/yyyy", "8/30/2021"},
        {when, "m/d/yyyy h:mm", "8/30/2021 14:30"},
        {1234.5, "#,##0_);(#,##0)", "1,235 "},
        {-1234.5, "#,##0_);(#,##0)", "(1,235)"},
        {-0.5, "#,##0.00_);[Red](#,##0.00)", "(0.50)"},
    };
    expectShown(cases);
    EXPECT_EQ(formatNumber(-0.5, "#,##0.00_);[Red](#,##0.00)", kEnglish).colour, 0xFF0000u);
    const ShownCase timesAndFractions[] = {
        {12345.6789, "mm:ss", "17:37"},
        {12345.6789, "[h]:mm:ss", "296296:17:37"},
        {12345.67876, "mm:ss.0", "17:24.9"},
        {11.5, "# ?\?/?\?", "11  1/2 "},
    };
    expectShown(timesAndFractions);
}

TEST(NumberFormatBuiltIns, CurrencyAndLocalePrefixes) {
    const ShownCase cases[] = {
        {-5, "\"$\"#,##0_);\\(\"$\"#,##0\\)", "($5)"},
        {5, "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)", "$5 "},
        {1234.5, "[$\xE2\x82\xAC-407] #,##0.00", "\xE2\x82\xAC 1,234.50"},
        {0.5, "[$-409]h:mm AM/PM", "12:00 PM"},
        {12.5, "##0.0E+0", "12.5E+0"},
    };
    expectShown(cases);
}

TEST(NumberFormatGeneral, ElevenCharactersThenScientific) {
    EXPECT_EQ(formatGeneral(0, kEnglish), "0");
    EXPECT_EQ(formatGeneral(12345678901, kEnglish), "12345678901");
    EXPECT_EQ(formatGeneral(123456789012, kEnglish), "1.23457E+11");
    EXPECT_EQ(formatGeneral(2.0 / 3, kEnglish), "0.666666667");
    EXPECT_EQ(formatGeneral(-2.0 / 3, kEnglish), "-0.666666667");
    EXPECT_EQ(formatGeneral(1e-10, kEnglish), "1E-10");
    EXPECT_EQ(formatGeneral(1e100, kEnglish), "1E+100");
    EXPECT_EQ(formatGeneral(1.5e-300, kEnglish), "1.5E-300");
    EXPECT_EQ(formatGeneral(99999999999.7, kEnglish), "1E+11");
    EXPECT_EQ(formatGeneral(123456.789, kEnglish, 8), "123456.8");
    EXPECT_EQ(show(std::nan(""), "0.00"), "#NUM!");
    EXPECT_EQ(show(std::numeric_limits<double>::infinity(), "General"), "#NUM!");
}

TEST(NumberFormatLocale, GermanNamesAndSeparators) {
    const FormatLocale german =
        FormatLocale::fromQLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatNumber(1234.5, "#,##0.00", german).text, "1.234,50");
    EXPECT_EQ(formatNumber(1.5, "General", german).text, "1,5");
    EXPECT_EQ(formatGeneral(0.25, german), "0,25");
    const double day = serial(2021, 8, 30);
    EXPECT_EQ(formatNumber(day, "dddd, d. mmmm yyyy", german).text, "Montag, 30. August 2021");
    EXPECT_EQ(formatNumber(day, "ddd d. mmm", german).text, "Mo 30. Aug");  // no "Aug." dots
    EXPECT_EQ(formatNumber(day + timeOfDay(14, 30, 0), "hh:mm", german).text, "14:30");
    const FormatLocale english =
        FormatLocale::fromQLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(english.monthAbbrevs[0], "Jan");
    EXPECT_EQ(english.dayNames[0], "Sunday");
}

TEST(NumberFormatClassify, DateTextAndNumberCodes) {
    for (const char* code :
         {"m/d/yyyy", "h:mm", "[h]:mm:ss", "mm:ss.0", "0;[h]:mm", "yyyy\\-mm\\-dd", "AM/PM"})
        EXPECT_TRUE(isDateTimeFormat(code)) << code;
    for (const char* code :
         {"General", "0.00", "\"d\"0", "#,##0\\h", "@", "[Red]0", "0;0;0;\"h\"@"})
        EXPECT_FALSE(isDateTimeFormat(code)) << code;
    EXPECT_TRUE(isTextFormat("@"));
    EXPECT_TRUE(isTextFormat("[Blue]@"));
    EXPECT_FALSE(isTextFormat("General"));
    EXPECT_FALSE(isTextFormat("0;@"));
}

TEST(NumberFormatRobustness, RepeatedTextStopsAtACellsLength) {
    const std::string text(1000, 'x');
    const std::string code(200, '@');
    const FormattedValue shown = formatText(text, code, kEnglish);
    EXPECT_EQ(shown.text.size(), kMaxFormattedBytes);
    std::string euros;
    for (int i = 0; i < 10; ++i) euros += "\xE2\x82\xAC";
    const FormattedValue cut = formatText(euros, std::string(2000, '@'), kEnglish);
    EXPECT_EQ(cut.text.size(), kMaxFormattedBytes - 1);  // whole characters only
}

TEST(NumberFormatRobustness, AbsurdCodesStayBoundedAndNeverThrow) {
    const std::string manyZeros(100000, '0');
    const std::string manyPoints = "0." + std::string(100000, '#');
    const std::string manyHours(50000, 'h');
    for (const std::string& code :
         {manyZeros,
          manyPoints,
          manyHours,
          std::string("["),
          std::string("\"open"),
          std::string("\\"),
          std::string("*"),
          std::string("_"),
          std::string("E+"),
          std::string("0E+"),
          std::string("?/"),
          std::string("0/0"),
          std::string("# ?/0"),
          std::string(";;;;;;;"),
          std::string("[h"),
          std::string("[<>]0"),
          std::string("[Color99]0"),
          std::string("[$"),
          std::string("\xFF\xFE"),
          std::string("0.0E+0000000000000000"),
          std::string("#,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,"),
          std::string("0%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%"
                      "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%"
                      "%%%%%%%%%%%%%%%%%")}) {
        for (double value : {0.0, -1.5, 1e308, -1e-308, 44438.75}) {
            const FormattedValue shown = formatNumber(value, code, kEnglish);
            EXPECT_LT(shown.text.size(), 20000u) << code.substr(0, 20);
            EXPECT_LE(shown.fillAt, static_cast<int>(shown.text.size()));
        }
        EXPECT_LT(formatText("text", code, kEnglish).text.size(), 20000u);
    }
}

}  // namespace
}  // namespace tallowby::engine
