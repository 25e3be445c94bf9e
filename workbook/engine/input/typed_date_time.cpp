#include "workbook/engine/input/typed_date_time.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "workbook/engine/numfmt/serial_date.h"

namespace tallowby::engine {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits only, at most `maxDigits` of them.
std::optional<long long> wholeNumber(std::string_view digits, size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
    long long value = 0;
    for (char c : digits) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// `word` is lower-case; the text's end is compared folding ASCII letters,
// without making a folded copy for every word of the locale.
bool endsWithWord(std::string_view text, const std::string& word) {
    if (word.empty() || text.size() < word.size()) return false;
    const std::string_view end = text.substr(text.size() - word.size());
    return std::equal(end.begin(), end.end(), word.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    });
}

struct DatePart {
    bool isNumber = false;
    std::string text;  // digits, or a lower-case word
};

bool isSeparator(char c) {
    return c == ' ' || c == '/' || c == '-' || c == '.' || c == ',';
}

// Splits a date into numbers and words; `separators` collects the
// separator characters met, blanks included.
std::vector<DatePart> splitDate(std::string_view text, std::string& separators) {
    std::vector<DatePart> parts;
    size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (isSeparator(c)) {
            if (separators.size() < 8) separators.push_back(c);
            ++at;
            continue;
        }
        DatePart part;
        part.isNumber = isDigit(c);
        while (at < text.size() && !isSeparator(text[at]) && isDigit(text[at]) == part.isNumber)
            part.text.push_back(text[at++]);
        if (!part.isNumber) part.text = lowerAscii(part.text);
        parts.push_back(std::move(part));
        if (parts.size() > 6) break;
    }
    return parts;
}

// The locale's names are lower-case, as the words split from a date.
std::optional<int> monthNamed(const std::string& word, const InputLocale& locale) {
    for (const auto& [name, month] : locale.months)
        if (name == word) return month;
    return std::nullopt;
}

bool isWeekday(const std::string& word, const InputLocale& locale) {
    return std::find(locale.weekdays.begin(), locale.weekdays.end(), word) != locale.weekdays.end();
}

// Two-digit years: 00-29 are this century, 30-99 the last.
std::optional<int> fullYear(const std::string& digits) {
    const auto value = wholeNumber(digits, 4);
    if (!value) return std::nullopt;
    if (digits.size() <= 2) return static_cast<int>(*value < 30 ? 2000 + *value : 1900 + *value);
    if (digits.size() == 4) return static_cast<int>(*value);
    return std::nullopt;
}

struct DateReading {
    int64_t serial = 0;
    std::string format;
};

std::optional<DateReading> dateOf(int year, long long month, long long day, std::string format) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const auto serial = serialFromDate(year, static_cast<int>(month), static_cast<int>(day));
    if (!serial) return std::nullopt;
    return DateReading{*serial, std::move(format)};
}

std::optional<DateReading> readDateOnly(std::string_view text, const InputLocale& locale,
                                        int currentYear) {
    std::string separators;
    std::vector<DatePart> parts = splitDate(text, separators);
    if (!parts.empty() && !parts.front().isNumber && isWeekday(parts.front().text, locale))
        parts.erase(parts.begin());
    if (parts.empty() || parts.size() > 3) return std::nullopt;

    std::optional<int> namedMonth;
    std::vector<std::string> numbers;
    for (const DatePart& part : parts) {
        if (part.isNumber) {
            numbers.push_back(part.text);
            continue;
        }
        if (namedMonth) return std::nullopt;
        namedMonth = monthNamed(part.text, locale);
        if (!namedMonth) return std::nullopt;
    }

    if (namedMonth) {
        if (numbers.size() == 1) {
            // "30-Aug" or "Aug 30" is a day of this year; "Aug-2021" a month.
            const auto n = wholeNumber(numbers[0], 4);
            if (!n) return std::nullopt;
            if (numbers[0].size() <= 2 && *n >= 1 && *n <= daysInMonth(currentYear, *namedMonth))
                return dateOf(currentYear, *namedMonth, *n, "d-mmm");
            const auto year = fullYear(numbers[0]);
            if (!year) return std::nullopt;
            return dateOf(*year, *namedMonth, 1, "mmm-yy");
        }
        if (numbers.size() == 2) {
            std::string dayText = numbers[0], yearText = numbers[1];
            if (numbers[0].size() == 4) std::swap(dayText, yearText);  // "2021 Aug 30"
            const auto day = wholeNumber(dayText, 2);
            const auto year = fullYear(yearText);
            if (!day || !year) return std::nullopt;
            return dateOf(*year, *namedMonth, *day, "d-mmm-yy");
        }
        return std::nullopt;
    }

    // Numbers only, all parted by one separator: '/', '-' or the locale's.
    if (numbers.size() < 2 || separators.size() != numbers.size() - 1) return std::nullopt;
    const char separator = separators[0];
    if (separator != '/' && separator != '-' && separator != locale.dateSeparator)
        return std::nullopt;
    if (separators.find_first_not_of(separator) != std::string::npos) return std::nullopt;
    if (numbers.size() == 3) {
        std::string y, m, d;
        if (numbers[0].size() == 4 || locale.dateOrder == InputLocale::DateOrder::YearMonthDay) {
            y = numbers[0], m = numbers[1], d = numbers[2];
        } else if (locale.dateOrder == InputLocale::DateOrder::DayMonthYear) {
            d = numbers[0], m = numbers[1], y = numbers[2];
        } else {
            m = numbers[0], d = numbers[1], y = numbers[2];
        }
        const auto year = fullYear(y);
        const auto month = wholeNumber(m, 2);
        const auto day = wholeNumber(d, 2);
        if (!year || !month || !day) return std::nullopt;
        const bool iso = numbers[0].size() == 4 && text.find('-') != std::string_view::npos;
        return dateOf(*year, *month, *day, iso ? "yyyy-mm-dd" : locale.shortDateFormat);
    }
    // Two numbers: day and month of this year, or month and year.
    const bool dayFirst = locale.dateOrder == InputLocale::DateOrder::DayMonthYear;
    const auto first = wholeNumber(numbers[0], 4);
    const auto second = wholeNumber(numbers[1], 4);
    if (!first || !second) return std::nullopt;
    const long long month = dayFirst ? *second : *first;
    const long long day = dayFirst ? *first : *second;
    if (numbers[0].size() <= 2 && numbers[1].size() <= 2) {
        if (auto date = dateOf(currentYear, month, day, "d-mmm")) return date;
    }
    if (!dayFirst && numbers[0].size() <= 2 && (numbers[1].size() == 4 || *second > 31)) {
        const auto year = fullYear(numbers[1]);
        if (year) return dateOf(*year, *first, 1, "mmm-yy");
    }
    return std::nullopt;
}

}  // namespace

std::optional<TypedReading> readTypedTime(std::string_view text, const InputLocale& locale) {
    text = trimmed(text);
    // AM/PM after the time, with or without a space.
    int half = 0;  // 1 = am, 2 = pm
    for (int pass = 0; pass < 2 && half == 0; ++pass) {
        const auto& words = pass == 0 ? locale.amWords : locale.pmWords;
        for (const std::string& word : words) {
            if (endsWithWord(text, word) && text.size() > word.size() &&
                (isDigit(text[text.size() - word.size() - 1]) ||
                 text[text.size() - word.size() - 1] == ' ')) {
                text = trimmed(text.substr(0, text.size() - word.size()));
                half = pass + 1;
                break;
            }
        }
    }
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ':') {
            fields.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (fields.size() > 3 || (fields.size() == 1 && half == 0)) return std::nullopt;
    // Fractions of a second on the last field.
    double fraction = 0;
    bool hasFraction = false;
    std::string_view& last = fields.back();
    for (std::string_view point : {std::string_view(locale.decimal), std::string_view(".")}) {
        const size_t at = last.find(point);
        if (point.empty() || at == std::string_view::npos || fields.size() < 2) continue;
        const std::string_view digits = last.substr(at + point.size());
        if (digits.empty() || digits.size() > 9) return std::nullopt;
        const auto value = wholeNumber(digits, 9);
        if (!value) return std::nullopt;
        double scale = 1;
        for (size_t i = 0; i < digits.size(); ++i) scale *= 10;
        fraction = static_cast<double>(*value) / scale;
        hasFraction = true;
        last = last.substr(0, at);
        break;
    }
    std::vector<long long> values;
    for (size_t i = 0; i < fields.size(); ++i) {
        const auto value = wholeNumber(fields[i], i == 0 ? 5 : 2);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    long long hours = 0, minutes = 0, seconds = 0;
    std::string format;
    if (hasFraction && fields.size() == 2) {
        minutes = values[0], seconds = values[1];  // "1:02.5" is minutes and seconds
        if (seconds >= 60 || half) return std::nullopt;
        format = "mm:ss.0";
    } else {
        hours = values[0];
        if (values.size() > 1) minutes = values[1];
        if (values.size() > 2) seconds = values[2];
        if (minutes >= 60 || seconds >= 60) return std::nullopt;
        const bool withSeconds = values.size() > 2;
        if (half) {
            if (hours > 12) return std::nullopt;
            hours = hours % 12 + (half == 2 ? 12 : 0);
            format = withSeconds ? "h:mm:ss AM/PM" : "h:mm AM/PM";
        } else if (hours >= 24) {
            if (hours > 9999) return std::nullopt;
            format = "[h]:mm:ss";
        } else {
            format = withSeconds ? "h:mm:ss" : "h:mm";
        }
    }
    const double totalSeconds =
        static_cast<double>(hours * 3600 + minutes * 60 + seconds) + fraction;
    return TypedReading{totalSeconds / 86400.0, format};
}

std::optional<TypedReading> readTypedDate(std::string_view text, const InputLocale& locale,
                                          int currentYear) {
    text = trimmed(text);
    if (text.empty() || text.size() > 64) return std::nullopt;
    // A time after the date starts at the last blank (or 'T') before the first ':'.
    const size_t colon = text.find(':');
    std::string_view datePart = text;
    std::optional<TypedReading> time;
    if (colon != std::string_view::npos) {
        size_t start = colon;
        while (start > 0 && isDigit(text[start - 1])) --start;
        if (start == 0) return std::nullopt;
        const char before = text[start - 1];
        if (before != ' ' && before != 'T') return std::nullopt;
        time = readTypedTime(text.substr(start), locale);
        if (!time || time->value >= 1) return std::nullopt;
        datePart = trimmed(text.substr(0, start - 1));
    }
    const auto date = readDateOnly(datePart, locale, currentYear);
    if (!date) return std::nullopt;
    TypedReading reading{static_cast<double>(date->serial), date->format};
    if (time) {
        reading.value += time->value;
        const bool seconds = time->format.find("ss") != std::string::npos;
        reading.format =
            (date->format == "d-mmm" || date->format == "mmm-yy" ? locale.shortDateFormat
                                                                 : date->format) +
            (seconds ? " h:mm:ss" : " h:mm");
    }
    return reading;
}

}  // namespace tallowby::engine
