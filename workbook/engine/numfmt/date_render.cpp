// Dates and times through y m d h s tokens, elapsed [h] [m] [s] and AM/PM.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "workbook/engine/common/utf_convert.h"
#include "workbook/engine/numfmt/section_render.h"
#include "workbook/engine/numfmt/serial_date.h"

namespace tallowby::engine {
namespace {

using Kind = FormatToken::Kind;

std::string padded(long long number, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", std::min(width, 20), number);
    return buffer;
}

// The first UTF-8 character of a name ("J" of "January").
std::string firstCharacter(const std::string& text) {
    if (text.empty()) return {};
    size_t length = 1;
    while (length < text.size() &&
           unicode::isUtf8Continuation(static_cast<unsigned char>(text[length])))
        ++length;
    return text.substr(0, length);
}

// A serial split into what the tokens show.
struct Moment {
    long long days = 0;
    int hour = 0, minute = 0, second = 0;
    std::string fractionDigits;  // the sub-second digits the section shows
    CivilDate date;
};

std::optional<Moment> momentOf(const FormatSection& section, double serial, bool date1904) {
    if (!(serial >= 0) || serial >= kMaxDateSerial + 1) return std::nullopt;
    // Time is rounded once, to the finest unit shown; coarser units are then
    // cut, so 10:29:59.6 shows as 10:30 under h:mm.
    long long unitsPerSecond = 1;
    for (int i = 0; i < section.subSecondDigits; ++i) unitsPerSecond *= 10;
    const long long unitsPerDay = 86400 * unitsPerSecond;
    const long long total = std::llround(serial * static_cast<double>(unitsPerDay));
    Moment m;
    m.days = total / unitsPerDay;
    const long long dayUnits = total % unitsPerDay;
    const long long seconds = dayUnits / unitsPerSecond;
    const long long fraction = dayUnits % unitsPerSecond;
    m.hour = static_cast<int>(seconds / 3600);
    m.minute = static_cast<int>(seconds / 60 % 60);
    m.second = static_cast<int>(seconds % 60);
    const auto date = dateFromSerial(m.days, date1904);
    if (!date) return std::nullopt;
    m.date = *date;
    if (section.subSecondDigits > 0) m.fractionDigits = padded(fraction, section.subSecondDigits);
    return m;
}

// m, mm: the number; mmm: abbreviated; mmmmm: the first letter; else the name.
std::string monthText(int count, int month, const FormatLocale& locale) {
    const size_t index = static_cast<size_t>(month - 1);
    if (count <= 2) return padded(month, count);
    if (count == 3) return locale.monthAbbrevs[index];
    if (count == 5) return firstCharacter(locale.monthNames[index]);
    return locale.monthNames[index];
}

// d, dd: the day of the month; ddd: the abbreviated weekday; else its name.
std::string dayText(int count, const Moment& m, const FormatLocale& locale, bool date1904) {
    if (count <= 2) return padded(m.date.day, count);
    const size_t weekday = static_cast<size_t>(weekdayFromSerial(m.days, date1904));
    return count == 3 ? locale.dayAbbrevs[weekday] : locale.dayNames[weekday];
}

// The text of a time token: clock and elapsed units, AM/PM.
std::string timeText(const FormatToken& t, const FormatSection& section, const Moment& m,
                     const FormatLocale& locale) {
    const long long hours = m.days * 24 + m.hour;
    switch (t.kind) {
        case Kind::Hour: {
            int shown = m.hour;
            if (section.twelveHour) shown = m.hour % 12 == 0 ? 12 : m.hour % 12;
            return padded(shown, std::min(t.count, 2));
        }
        case Kind::Minute:
            return padded(m.minute, std::min(t.count, 2));
        case Kind::Second:
            return padded(m.second, std::min(t.count, 2));
        case Kind::ElapsedHours:
            return padded(hours, t.count);
        case Kind::ElapsedMinutes:
            return padded(hours * 60 + m.minute, t.count);
        case Kind::ElapsedSeconds:
            return padded((hours * 60 + m.minute) * 60 + m.second, t.count);
        case Kind::AmPm:
            return m.hour < 12 ? locale.am : locale.pm;
        case Kind::AP: {
            const bool upper = t.symbol == 'A' || t.symbol == 'P';
            return m.hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
        }
        default:
            return {};
    }
}

}  // namespace

bool renderDateSection(const FormatSection& section, double serial, const FormatLocale& locale,
                       bool date1904, FormattedValue& out) {
    const std::optional<Moment> m = momentOf(section, serial, date1904);
    if (!m) return false;
    for (const FormatToken& t : section.tokens) {
        if (appendLiteralOrFill(out, t)) continue;
        switch (t.kind) {
            case Kind::Year:
                appendText(out,
                           t.count <= 2 ? padded(m->date.year % 100, 2) : padded(m->date.year, 4));
                break;
            case Kind::Month:
                appendText(out, monthText(t.count, m->date.month, locale));
                break;
            case Kind::Day:
                appendText(out, dayText(t.count, *m, locale, date1904));
                break;
            case Kind::SubSecond:
                appendText(out, locale.decimal);
                appendText(out, m->fractionDigits.substr(0, static_cast<size_t>(t.count)));
                break;
            default:
                appendText(out, timeText(t, section, *m, locale));
        }
    }
    return true;
}

}  // namespace tallowby::engine
