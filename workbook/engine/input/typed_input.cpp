// Reading what a user typed into a cell, as a spreadsheet program does.
#include "workbook/engine/input/typed_input.h"

#include <QLocale>
#include <QString>
#include <vector>

#include "workbook/engine/input/input_locale.h"
#include "workbook/engine/input/typed_date_time.h"
#include "workbook/engine/input/typed_number.h"
#include "workbook/engine/numfmt/number_format.h"

namespace tallowby::engine {
namespace {

// Longer entries are text: no number or date is that long, and it keeps the
// readers' work bounded.
constexpr size_t kMaxReadableLength = 256;

std::string_view trimBlanks(std::string_view text) {
    auto blankAt = [&](size_t at) -> size_t {
        if (at < text.size() && (text[at] == ' ' || text[at] == '\t')) return 1;
        if (text.substr(at, 2) == "\xC2\xA0") return 2;
        return 0;
    };
    while (size_t n = blankAt(0)) text.remove_prefix(n);
    while (!text.empty()) {
        if (text.back() == ' ' || text.back() == '\t') {
            text.remove_suffix(1);
        } else if (text.size() >= 2 && text.substr(text.size() - 2) == "\xC2\xA0") {
            text.remove_suffix(2);
        } else {
            break;
        }
    }
    return text;
}

bool isGeneral(std::string_view code) {
    return code.empty() || upperAscii(code) == "GENERAL";
}

std::optional<bool> readBoolean(std::string_view text, const InputLocale& locale) {
    const std::string upper = upperAscii(text);
    for (const std::string& word : locale.trueWords)
        if (upper == word) return true;
    for (const std::string& word : locale.falseWords)
        if (upper == word) return false;
    return std::nullopt;
}

// Building the locale's words takes longer than reading an entry; keep the
// few locales a program meets.
const InputLocale& inputLocaleOf(const QLocale& locale) {
    thread_local std::vector<std::pair<QString, InputLocale>> known;
    const QString name = locale.name();
    for (const auto& [knownName, input] : known)
        if (knownName == name) return input;
    if (known.size() >= 8) known.erase(known.begin());
    known.emplace_back(name, InputLocale::fromQLocale(locale));
    return known.back().second;
}

TypedInput textEntry(std::string_view text) {
    TypedInput input;
    input.kind = TypedInput::Kind::Text;
    input.text = std::string(text);
    return input;
}

}  // namespace

TypedInput readTypedInput(std::string_view typed, std::string_view cellFormat,
                          const QLocale& locale, int currentYear) {
    if (typed.empty()) return {};
    if (typed.front() == '\'') {
        TypedInput input = textEntry(typed.substr(1));
        input.quotePrefix = true;
        return input;
    }
    if (isTextFormat(cellFormat)) return textEntry(typed);
    const std::string_view text = trimBlanks(typed);
    if (text.empty() || text.size() > kMaxReadableLength) return textEntry(typed);

    const InputLocale& input = inputLocaleOf(locale);
    if (const auto boolean = readBoolean(text, input)) {
        TypedInput entry;
        entry.kind = TypedInput::Kind::Boolean;
        entry.number = *boolean ? 1 : 0;
        return entry;
    }
    std::optional<TypedReading> reading;
    // A cell formatted for dates reads "1.5" as a date before a number.
    if (isDateTimeFormat(cellFormat)) {
        reading = readTypedTime(text, input);
        if (!reading) reading = readTypedDate(text, input, currentYear);
        if (!reading) reading = readTypedNumber(text, input);
    } else {
        reading = readTypedNumber(text, input);
        if (!reading) reading = readTypedTime(text, input);
        if (!reading) reading = readTypedDate(text, input, currentYear);
    }
    if (!reading) return textEntry(typed);
    TypedInput entry;
    entry.kind = TypedInput::Kind::Number;
    entry.number = reading->value;
    if (isGeneral(cellFormat)) entry.adoptedFormat = reading->format;
    return entry;
}

}  // namespace tallowby::engine
