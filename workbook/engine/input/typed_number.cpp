#include "workbook/engine/input/typed_number.h"

#include <charconv>
#include <cmath>

namespace tallowby::engine {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool consume(std::string_view& text, std::string_view prefix) {
    if (prefix.empty() || text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    return true;
}

bool consumeSuffix(std::string_view& text, std::string_view suffix) {
    if (suffix.empty() || text.size() < suffix.size() ||
        text.substr(text.size() - suffix.size()) != suffix)
        return false;
    text.remove_suffix(suffix.size());
    return true;
}

// Blanks between a sign, a currency sign and the digits.
void skipBlanks(std::string_view& text) {
    while (true) {
        if (consume(text, " ") || consume(text, "\xC2\xA0") || consume(text, "\xE2\x80\xAF"))
            continue;
        return;
    }
}

void trimBlanksAtEnd(std::string_view& text) {
    while (consumeSuffix(text, " ") || consumeSuffix(text, "\xC2\xA0") ||
           consumeSuffix(text, "\xE2\x80\xAF")) {
    }
}

struct Mantissa {
    std::string ascii;  // digits, '.', 'e' for from_chars
    bool grouped = false;
    bool hasDecimals = false;
    bool hasExponent = false;
};

// Group separators accepted for the locale: its own, and a plain space where
// the locale groups with a kind of space.
std::vector<std::string_view> groupSeparators(const InputLocale& locale) {
    std::vector<std::string_view> separators{locale.group};
    if (locale.group == "\xC2\xA0" || locale.group == "\xE2\x80\xAF") separators.push_back(" ");
    return separators;
}

std::optional<Mantissa> readMantissa(std::string_view text, const InputLocale& locale) {
    Mantissa m;
    int groupDigits = 0;
    int leadingDigits = 0;
    bool anyDigit = false;
    const auto separators = groupSeparators(locale);
    // Integer digits with thousands groups of exactly three.
    while (!text.empty()) {
        if (isDigit(text[0])) {
            m.ascii.push_back(text[0]);
            text.remove_prefix(1);
            anyDigit = true;
            if (m.grouped)
                ++groupDigits;
            else
                ++leadingDigits;
            continue;
        }
        bool separated = false;
        for (std::string_view separator : separators) {
            if (!separator.empty() && separator != locale.decimal && anyDigit &&
                text.substr(0, separator.size()) == separator && text.size() > separator.size() &&
                isDigit(text[separator.size()])) {
                if (m.grouped && groupDigits != 3) return std::nullopt;
                if (!m.grouped && leadingDigits > 3) return std::nullopt;
                m.grouped = true;
                groupDigits = 0;
                text.remove_prefix(separator.size());
                separated = true;
                break;
            }
        }
        if (!separated) break;
    }
    if (m.grouped && groupDigits != 3) return std::nullopt;
    if (consume(text, locale.decimal)) {
        m.ascii.push_back('.');
        while (!text.empty() && isDigit(text[0])) {
            m.ascii.push_back(text[0]);
            text.remove_prefix(1);
            anyDigit = true;
            m.hasDecimals = true;
        }
    }
    if (!anyDigit) return std::nullopt;
    if (!text.empty() && (text[0] == 'e' || text[0] == 'E')) {
        text.remove_prefix(1);
        m.ascii.push_back('e');
        if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
            m.ascii.push_back(text[0]);
            text.remove_prefix(1);
        }
        if (text.empty() || !isDigit(text[0])) return std::nullopt;
        while (!text.empty() && isDigit(text[0])) {
            m.ascii.push_back(text[0]);
            text.remove_prefix(1);
        }
        m.hasExponent = true;
    }
    if (!text.empty()) return std::nullopt;
    return m;
}

std::optional<double> toDouble(const std::string& ascii) {
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// "1 1/2", "0 3/4": a whole number, a space, and a proper fraction.
std::optional<TypedReading> readMixedFraction(std::string_view text) {
    const size_t space = text.find(' ');
    const size_t slash = text.find('/');
    if (space == std::string_view::npos || slash == std::string_view::npos || slash < space)
        return std::nullopt;
    auto number = [](std::string_view digits) -> std::optional<long long> {
        if (digits.empty() || digits.size() > 9) return std::nullopt;
        long long value = 0;
        for (char c : digits) {
            if (!isDigit(c)) return std::nullopt;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const auto whole = number(text.substr(0, space));
    const auto numerator = number(text.substr(space + 1, slash - space - 1));
    const auto denominator = number(text.substr(slash + 1));
    if (!whole || !numerator || !denominator || *denominator == 0 || *numerator >= *denominator)
        return std::nullopt;
    TypedReading reading;
    reading.value = static_cast<double>(*whole) +
                    static_cast<double>(*numerator) / static_cast<double>(*denominator);
    reading.format = *denominator < 10 ? "# ?/?" : "# ?\?/?\?";
    return reading;
}

}  // namespace

std::optional<TypedReading> readTypedNumber(std::string_view text, const InputLocale& locale) {
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = text.substr(1, text.size() - 2);
    }
    auto readSign = [&] {
        if (consume(text, "-")) {
            if (negative) return false;
            negative = true;
        } else {
            consume(text, "+");
        }
        skipBlanks(text);
        return true;
    };
    if (!readSign()) return std::nullopt;
    bool currencyBefore = consume(text, locale.currency);
    if (currencyBefore) {
        skipBlanks(text);
        if (!negative && !readSign()) return std::nullopt;
    }
    bool percent = consumeSuffix(text, "%");
    trimBlanksAtEnd(text);
    bool currencyAfter = !currencyBefore && consumeSuffix(text, locale.currency);
    trimBlanksAtEnd(text);
    if (!percent && consumeSuffix(text, "%")) {
        percent = true;
        trimBlanksAtEnd(text);
    }
    if (percent && (currencyBefore || currencyAfter)) return std::nullopt;

    std::optional<TypedReading> reading;
    if (const auto mantissa = readMantissa(text, locale)) {
        const auto value = toDouble(mantissa->ascii);
        if (!value) return std::nullopt;
        reading = TypedReading{*value, {}};
        const bool decimals = mantissa->hasDecimals;
        if (percent) {
            reading->value /= 100;
            reading->format = decimals ? "0.00%" : "0%";
        } else if (currencyBefore || currencyAfter) {
            const std::string amount = decimals ? "#,##0.00" : "#,##0";
            const std::string symbol = "\"" + locale.currency + "\"";
            if (currencyAfter)
                reading->format = amount + " " + symbol;
            else if (locale.currency == "$")
                reading->format = symbol + amount + "_);\\(" + symbol + amount + "\\)";
            else
                reading->format = symbol + amount;
        } else if (mantissa->hasExponent) {
            reading->format = "0.00E+00";
        } else if (mantissa->grouped) {
            reading->format = decimals ? "#,##0.00" : "#,##0";
        }
    } else if (!percent && !currencyBefore && !currencyAfter) {
        reading = readMixedFraction(text);
    }
    if (!reading) return std::nullopt;
    if (negative) reading->value = -reading->value;
    return reading;
}

}  // namespace tallowby::engine
