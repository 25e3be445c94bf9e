#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QLocale;

namespace tallowby::engine {

// Names and separators a number format needs from the user's locale.
struct FormatLocale {
    std::string decimal = ".";
    std::string group = ",";
    std::array<std::string, 7> dayNames;    // Sunday first
    std::array<std::string, 7> dayAbbrevs;  // "Sun", ...
    std::array<std::string, 12> monthNames;
    std::array<std::string, 12> monthAbbrevs;
    std::string am = "AM";
    std::string pm = "PM";
    std::string currency = "$";

    static FormatLocale english();  // en_US
    static FormatLocale fromQLocale(const QLocale& locale);
};

// Longest text a format produces (a cell holds at most 32767 characters).
inline constexpr size_t kMaxFormattedBytes = 32767;

// A value shown through a format code, ready to draw.
struct FormattedValue {
    std::string text;  // UTF-8; `_x` padding already replaced by spaces
    // Where a `*x` fill repeats its character to fill the cell: the byte offset
    // in `text` at which the fill goes, or -1 when the format has no fill.
    int fillAt = -1;
    std::string fillText;            // the character to repeat (UTF-8)
    std::optional<uint32_t> colour;  // 0xRRGGBB from [Red], [Color10]... when given
};

// Formats a number with a format code ("General", "0.00", "[h]:mm", up to four
// sections with conditions...). Serial numbers are days since 1899-12-30 in
// the 1900 date system (with its fictitious 1900-02-29), or since 1904-01-01.
// Never throws: a code it cannot read formats as General.
FormattedValue formatNumber(double value, std::string_view code, const FormatLocale& locale,
                            bool date1904 = false);

// Formats a text through the text section of a format code (`@`), or returns
// it unchanged when the code has no text section.
FormattedValue formatText(std::string_view text, std::string_view code, const FormatLocale& locale);

// General format limited to `maxChars` characters (11 in a default cell):
// rounds decimals, then switches to scientific notation, to fit.
std::string formatGeneral(double value, const FormatLocale& locale, int maxChars = 11);

// True when a number section of the code shows a date or a time.
bool isDateTimeFormat(std::string_view code);

// True when the code is a text format ("@"): entries stay text as typed.
bool isTextFormat(std::string_view code);

}  // namespace tallowby::engine
