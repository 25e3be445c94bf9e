// Dates and times through y m d h s tokens, elapsed [h] [m] [s] and AM/PM.
#include <cmath>
#include <cstdio>

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
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(0, length);
}

}  // namespace

bool renderDateSection(const FormatSection& section, double serial, const FormatLocale& locale,
                       bool date1904, FormattedValue& out) {
    if (!(serial >= 0) || serial >= kMaxDateSerial + 1) return false;
    // Time is rounded once, to the finest unit shown; coarser units are then
    // cut, so 10:29:59.6 shows as 10:30 under h:mm.
    long long unitsPerSecond = 1;
    for (int i = 0; i < section.subSecondDigits; ++i) unitsPerSecond *= 10;
    const long long unitsPerDay = 86400 * unitsPerSecond;
    const long long total = std::llround(serial * static_cast<double>(unitsPerDay));
    const long long days = total / unitsPerDay;
    const long long dayUnits = total % unitsPerDay;
    const long long seconds = dayUnits / unitsPerSecond;
    const long long fraction = dayUnits % unitsPerSecond;
    const int hour = static_cast<int>(seconds / 3600);
    const int minute = static_cast<int>(seconds / 60 % 60);
    const int second = static_cast<int>(seconds % 60);
    const auto date = dateFromSerial(days, date1904);
    if (!date) return false;

    const std::string fractionDigits =
        section.subSecondDigits > 0 ? padded(fraction, section.subSecondDigits) : std::string();

    for (const FormatToken& t : section.tokens) {
        switch (t.kind) {
            case Kind::Literal:
                appendText(out, t.text);
                break;
            case Kind::Fill:
                appendFill(out, t.text);
                break;
            case Kind::Year:
                appendText(out, t.count <= 2 ? padded(date->year % 100, 2) : padded(date->year, 4));
                break;
            case Kind::Month: {
                const std::string& full = locale.monthNames[static_cast<size_t>(date->month - 1)];
                if (t.count <= 2)
                    appendText(out, padded(date->month, t.count));
                else if (t.count == 3)
                    appendText(out, locale.monthAbbrevs[static_cast<size_t>(date->month - 1)]);
                else if (t.count == 5)
                    appendText(out, firstCharacter(full));
                else
                    appendText(out, full);
                break;
            }
            case Kind::Day: {
                const int weekday = weekdayFromSerial(days, date1904);
                if (t.count <= 2)
                    appendText(out, padded(date->day, t.count));
                else if (t.count == 3)
                    appendText(out, locale.dayAbbrevs[static_cast<size_t>(weekday)]);
                else
                    appendText(out, locale.dayNames[static_cast<size_t>(weekday)]);
                break;
            }
            case Kind::Hour: {
                int shown = hour;
                if (section.twelveHour) shown = hour % 12 == 0 ? 12 : hour % 12;
                appendText(out, padded(shown, std::min(t.count, 2)));
                break;
            }
            case Kind::Minute:
                appendText(out, padded(minute, std::min(t.count, 2)));
                break;
            case Kind::Second:
                appendText(out, padded(second, std::min(t.count, 2)));
                break;
            case Kind::ElapsedHours:
                appendText(out, padded(days * 24 + hour, t.count));
                break;
            case Kind::ElapsedMinutes:
                appendText(out, padded((days * 24 + hour) * 60 + minute, t.count));
                break;
            case Kind::ElapsedSeconds:
                appendText(out, padded(((days * 24 + hour) * 60 + minute) * 60 + second, t.count));
                break;
            case Kind::AmPm:
                appendText(out, hour < 12 ? locale.am : locale.pm);
                break;
            case Kind::AP: {
                const bool upper = t.symbol == 'A' || t.symbol == 'P';
                appendText(out, hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p"));
                break;
            }
            case Kind::SubSecond:
                appendText(out, locale.decimal);
                appendText(out, fractionDigits.substr(0, static_cast<size_t>(t.count)));
                break;
            default:
                break;
        }
    }
    return true;
}

}  // namespace tallowby::engine
