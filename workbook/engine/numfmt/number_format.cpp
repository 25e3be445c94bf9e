// Choosing the section of a format code for a value, and the public entry points.
#include "workbook/engine/numfmt/number_format.h"

#include <algorithm>
#include <cmath>

#include "workbook/engine/common/utf_convert.h"
#include "workbook/engine/numfmt/format_code.h"
#include "workbook/engine/numfmt/section_render.h"

namespace tallowby::engine {
namespace {

using Kind = FormatToken::Kind;

struct Choice {
    const FormatSection* section = nullptr;
    bool dropSign = false;
};

// Without conditions: one section for all; two for non-negative and
// negative; three add zero. A condition replaces the sign test of its section.
Choice chooseSection(const ParsedFormat& format, double value) {
    const auto& sections = format.sections;
    const int count = format.numberSections;
    const FormatSection& first = sections[0];
    if (count == 1) return {&first, false};
    const FormatSection& second = sections[1];
    const bool firstMatches =
        first.condition ? first.condition->holds(value) : (count >= 3 ? value > 0 : value >= 0);
    if (firstMatches) return {&first, false};
    const bool secondMatches =
        second.condition ? second.condition->holds(value) : (first.condition ? true : value < 0);
    if (secondMatches) return {&second, !second.condition && !first.condition && value < 0};
    if (count >= 3) return {&sections[2], false};
    return {nullptr, false};
}

}  // namespace

void appendText(FormattedValue& out, std::string_view text) {
    // "@@@@..." repeats the text: stop at the longest text a cell holds.
    if (out.text.size() + text.size() > kMaxFormattedBytes) {
        size_t room = kMaxFormattedBytes - std::min(out.text.size(), kMaxFormattedBytes);
        while (room > 0 && room < text.size() &&
               unicode::isUtf8Continuation(static_cast<unsigned char>(text[room])))
            --room;  // never split a UTF-8 character
        text = text.substr(0, room);
    }
    out.text.append(text);
}

bool appendLiteralOrFill(FormattedValue& out, const FormatToken& token) {
    if (token.kind == Kind::Literal)
        appendText(out, token.text);
    else if (token.kind == Kind::Fill)
        appendFill(out, token.text);
    else
        return false;
    return true;
}

void appendFill(FormattedValue& out, const std::string& fill) {
    if (out.fillAt >= 0 || fill.empty()) return;
    out.fillAt = static_cast<int>(out.text.size());
    out.fillText = fill;
}

void markUnshowable(FormattedValue& out) {
    out.text.clear();
    out.fillAt = 0;
    out.fillText = "#";
}

void renderTextSection(const FormatSection& section, std::string_view text, FormattedValue& out) {
    for (const FormatToken& t : section.tokens) {
        if (appendLiteralOrFill(out, t)) continue;
        switch (t.kind) {
            case Kind::Text:
            case Kind::General:
                appendText(out, text);
                break;
            case Kind::Digit:
            case Kind::Point:
            case Kind::Comma:
            case Kind::Percent:
            case Kind::Slash:
                appendText(out, std::string(1, t.symbol));
                break;
            default:
                break;
        }
    }
}

FormattedValue formatNumber(double value, std::string_view code, const FormatLocale& locale,
                            bool date1904) {
    FormattedValue out;
    if (!std::isfinite(value)) {
        out.text = "#NUM!";
        return out;
    }
    const ParsedFormat& format = cachedFormat(code);
    const Choice choice = chooseSection(format, value);
    if (!choice.section) {
        markUnshowable(out);
        return out;
    }
    const FormatSection& section = *choice.section;
    out.colour = section.colour;
    if (section.isDate) {
        if (!renderDateSection(section, value, locale, date1904, out)) markUnshowable(out);
        return out;
    }
    if (section.hasText && !section.hasDigits && !section.hasGeneral &&
        format.textSection == static_cast<int>(&section - format.sections.data())) {
        // "@" alone: numbers show as General.
        out.text = formatGeneral(value, locale);
        return out;
    }
    // Sections without placeholders show no sign ("foo" for -1), except
    // General, which shows the number as it is.
    const bool minus = value < 0 && (section.hasDigits ? !choice.dropSign : section.hasGeneral);
    renderNumberSection(section, std::fabs(value), minus, locale, out);
    return out;
}

FormattedValue formatText(std::string_view text, std::string_view code,
                          const FormatLocale& locale) {
    (void)locale;
    FormattedValue out;
    const ParsedFormat& format = cachedFormat(code);
    if (format.textSection < 0 || text.empty()) {
        out.text = std::string(text);
        return out;
    }
    const FormatSection& section = format.sections[static_cast<size_t>(format.textSection)];
    out.colour = section.colour;
    renderTextSection(section, text, out);
    return out;
}

bool isDateTimeFormat(std::string_view code) {
    const ParsedFormat& format = cachedFormat(code);
    for (int i = 0; i < format.numberSections; ++i)
        if (format.sections[static_cast<size_t>(i)].isDate) return true;
    return false;
}

bool isTextFormat(std::string_view code) {
    const ParsedFormat& format = cachedFormat(code);
    const FormatSection& first = format.sections[0];
    return format.sections.size() == 1 && first.hasText && !first.hasDigits && !first.isDate &&
           !first.hasGeneral;
}

}  // namespace tallowby::engine
