#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::engine {

// One element of a format section, read once from the code's text.
struct FormatToken {
    enum class Kind {
        Literal,  // text shown as it is
        Digit,    // 0 # ? placeholder (symbol)
        Point,    // decimal point
        Comma,    // thousands separator or scaling
        Percent,
        Exponent,  // E+ / E- (symbol is '+' or '-')
        Slash,     // fraction bar
        Text,      // @
        General,
        Fill,    // *x: text is x
        Year,    // count: y letters (e counts as 4)
        Month,   // count
        Day,     // count
        Hour,    // count
        Minute,  // count
        Second,  // count
        ElapsedHours,
        ElapsedMinutes,
        ElapsedSeconds,
        AmPm,           // AM/PM
        AP,             // A/P: symbol 'A' or 'a' keeps the letter case
        SubSecond,      // .0 .00 .000 after a time: count digits
        MonthOrMinute,  // m before it is known which
    };
    Kind kind = Kind::Literal;
    std::string text;
    char symbol = 0;
    int count = 0;
};

struct FormatCondition {
    enum class Op { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };
    Op op = Op::Equal;
    double value = 0;
    bool holds(double v) const;
};

struct FormatSection {
    std::vector<FormatToken> tokens;
    std::optional<FormatCondition> condition;
    std::optional<uint32_t> colour;
    bool isDate = false;   // shows a date or time
    bool hasText = false;  // contains @
    bool hasGeneral = false;
    bool hasDigits = false;  // number placeholders
    bool twelveHour = false;
    int subSecondDigits = 0;
};

struct ParsedFormat {
    std::vector<FormatSection> sections;  // at least one
    // Sections for numbers: a trailing text section does not count.
    int numberSections = 1;
    // Index of the section for texts, or -1 to show texts unchanged.
    int textSection = -1;
};

// Reads a format code. Never throws; unknown parts become literal text.
ParsedFormat parseFormatCode(std::string_view code);

// Parsed codes are kept in a small per-thread cache keyed by the code text.
const ParsedFormat& cachedFormat(std::string_view code);

}  // namespace tallowby::engine
