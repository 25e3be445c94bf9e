#pragma once

#include <string>
#include <string_view>
#include <vector>

class QLocale;

namespace tallowby::engine {

// What reading typed input needs from the user's locale.
struct InputLocale {
    enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };
    std::string decimal = ".";
    std::string group = ",";
    std::string currency = "$";
    DateOrder dateOrder = DateOrder::MonthDayYear;
    std::string shortDateFormat = "m/d/yyyy";  // format code a typed date adopts
    char dateSeparator = '/';                  // between the numbers of a short date
    // Lower-case month names (full and abbreviated) with their month 1..12,
    // in the locale's language and in English.
    std::vector<std::pair<std::string, int>> months;
    std::vector<std::string> weekdays;  // lower-case, full and abbreviated
    std::vector<std::string> amWords, pmWords;
    std::vector<std::string> trueWords, falseWords;  // upper-case

    static InputLocale fromQLocale(const QLocale& locale);
};

// ASCII-only case folding; other bytes stay as they are.
std::string lowerAscii(std::string_view text);
std::string upperAscii(std::string_view text);

}  // namespace tallowby::engine
