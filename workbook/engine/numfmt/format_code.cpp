#include "workbook/engine/numfmt/format_code.h"

#include <cctype>
#include <cstdlib>
#include <list>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "workbook/engine/common/utf_convert.h"
#include "workbook/engine/model/default_palette.h"

namespace tallowby::engine {
namespace {

using Kind = FormatToken::Kind;

// Longest code we read; anything beyond is ignored so absurd codes stay cheap.
constexpr size_t kMaxCodeLength = 4096;

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool startsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (lower(text[at + i]) != lower(word[i])) return false;
    return true;
}

void addLiteral(FormatSection& section, std::string_view text) {
    if (text.empty()) return;
    if (!section.tokens.empty() && section.tokens.back().kind == Kind::Literal)
        section.tokens.back().text.append(text);
    else
        section.tokens.push_back({Kind::Literal, std::string(text), 0, 0});
}

std::optional<uint32_t> namedColour(std::string_view name) {
    static const std::pair<const char*, uint32_t> kNames[] = {
        {"black", 0x000000},   {"blue", 0x0000FF}, {"cyan", 0x00FFFF},  {"green", 0x00FF00},
        {"magenta", 0xFF00FF}, {"red", 0xFF0000},  {"white", 0xFFFFFF}, {"yellow", 0xFFFF00}};
    std::string lowered;
    for (char c : name) lowered.push_back(lower(c));
    for (const auto& [n, rgb] : kNames)
        if (lowered == n) return rgb;
    return std::nullopt;
}

// The default palette of the legacy file format, [Color1] .. [Color56].
uint32_t paletteColour(int number) {
    return kDefaultPalette[number - 1];
}

bool allSameLetter(std::string_view text, char letter) {
    if (text.empty()) return false;
    for (char c : text)
        if (lower(c) != letter) return false;
    return true;
}

// Reads what stands between [ and ].
void readBracket(FormatSection& section, std::string_view inner) {
    if (inner.empty()) return;
    if (auto colour = namedColour(inner)) {
        section.colour = colour;
        return;
    }
    if (startsWithNoCase(inner, 0, "color")) {
        const int number = std::atoi(std::string(inner.substr(5)).c_str());
        if (number >= 1 && number <= 56) section.colour = paletteColour(number);
        return;
    }
    const char first = inner[0];
    if (first == '<' || first == '>' || first == '=') {
        FormatCondition condition;
        size_t at = 1;
        if (first == '<' && inner.size() > 1 && inner[1] == '=') {
            condition.op = FormatCondition::Op::LessEqual, at = 2;
        } else if (first == '<' && inner.size() > 1 && inner[1] == '>') {
            condition.op = FormatCondition::Op::NotEqual, at = 2;
        } else if (first == '>' && inner.size() > 1 && inner[1] == '=') {
            condition.op = FormatCondition::Op::GreaterEqual, at = 2;
        } else {
            condition.op = first == '<'   ? FormatCondition::Op::Less
                           : first == '>' ? FormatCondition::Op::Greater
                                          : FormatCondition::Op::Equal;
        }
        const std::string number(inner.substr(at));
        char* end = nullptr;
        condition.value = std::strtod(number.c_str(), &end);
        if (end != number.c_str()) section.condition = condition;
        return;
    }
    if (first == '$') {
        // [$€-407]: a currency text, then a locale id we do not need.
        const size_t dash = inner.find('-', 1);
        addLiteral(section,
                   inner.substr(1, dash == std::string_view::npos ? inner.npos : dash - 1));
        return;
    }
    for (const auto& [letter, kind] :
         {std::pair{'h', Kind::ElapsedHours}, std::pair{'m', Kind::ElapsedMinutes},
          std::pair{'s', Kind::ElapsedSeconds}}) {
        if (allSameLetter(inner, letter)) {
            section.tokens.push_back({kind, {}, 0, static_cast<int>(inner.size())});
            return;
        }
    }
    // Calendars, number scripts and other modifiers are not shown.
}

size_t runLength(std::string_view code, size_t at, char letter) {
    size_t end = at;
    while (end < code.size() && lower(code[end]) == letter) ++end;
    return end - at;
}

// The readers below each take the element at code[at] when it is theirs and
// return the position after it; nothing when the element is not theirs.

// "quoted text", up to the closing quote or the end.
std::optional<size_t> readQuoted(std::string_view code, size_t at, FormatSection& section) {
    if (code[at] != '"') return std::nullopt;
    const size_t close = code.find('"', at + 1);
    const size_t end = close == std::string_view::npos ? code.size() : close;
    addLiteral(section, code.substr(at + 1, end - at - 1));
    return close == std::string_view::npos ? code.size() : close + 1;
}

// \x (x shown), _x (a space as wide as x), *x (x repeated to fill the cell).
std::optional<size_t> readEscaped(std::string_view code, size_t at, FormatSection& section) {
    const char c = code[at];
    if (c != '\\' && c != '_' && c != '*') return std::nullopt;
    if (at + 1 >= code.size()) return at + 1;
    const size_t length = unicode::utf8SequenceLength(static_cast<unsigned char>(code[at + 1]));
    const std::string_view next = code.substr(at + 1, length);
    if (c == '\\') addLiteral(section, next);
    if (c == '_') addLiteral(section, " ");
    if (c == '*') section.tokens.push_back({Kind::Fill, std::string(next), 0, 0});
    return at + 1 + length;
}

// [colour], [condition], [$currency], [h] and the like; an unclosed [ is text.
std::optional<size_t> readBracketed(std::string_view code, size_t at, FormatSection& section) {
    if (code[at] != '[') return std::nullopt;
    const size_t close = code.find(']', at + 1);
    if (close == std::string_view::npos) {
        addLiteral(section, code.substr(at, 1));
        return at + 1;
    }
    readBracket(section, code.substr(at + 1, close - at - 1));
    return close + 1;
}

// Digit places, an exponent and the words General, AM/PM and A/P.
std::optional<size_t> readNumberPart(std::string_view code, size_t at, FormatSection& section) {
    const char c = code[at];
    if (c == '0' || c == '#' || c == '?') {
        section.tokens.push_back({Kind::Digit, {}, c, 0});
        return at + 1;
    }
    if ((c == 'E' || c == 'e') && at + 1 < code.size() &&
        (code[at + 1] == '+' || code[at + 1] == '-')) {
        section.tokens.push_back({Kind::Exponent, {}, code[at + 1], 0});
        return at + 2;
    }
    static const std::tuple<std::string_view, Kind, bool> kWords[] = {
        {"general", Kind::General, false}, {"am/pm", Kind::AmPm, false}, {"a/p", Kind::AP, true}};
    for (const auto& [word, kind, keepsSymbol] : kWords) {
        if (startsWithNoCase(code, at, word)) {
            section.tokens.push_back({kind, {}, keepsSymbol ? c : '\0', 0});
            return at + word.size();
        }
    }
    return std::nullopt;
}

// The kind a character stands for in `table`, Literal when it is not there.
Kind kindOf(std::initializer_list<std::pair<char, Kind>> table, char c) {
    for (const auto& [symbol, kind] : table)
        if (symbol == c) return kind;
    return Kind::Literal;
}

// One-character symbols: point, thousands comma, percent, fraction slash, text.
std::optional<size_t> readSymbol(std::string_view code, size_t at, FormatSection& section) {
    const char c = code[at];
    const Kind kind = kindOf({{'.', Kind::Point},
                              {',', Kind::Comma},
                              {'%', Kind::Percent},
                              {'/', Kind::Slash},
                              {'@', Kind::Text}},
                             c);
    if (kind == Kind::Literal) return std::nullopt;
    section.tokens.push_back({kind, {}, c, 0});
    return at + 1;
}

// A run of one date or time letter (yyyy, mm, d, hh, ss); e is a four-digit year.
std::optional<size_t> readDatePart(std::string_view code, size_t at, FormatSection& section) {
    const char lc = lower(code[at]);
    if (lc == 'e') {
        section.tokens.push_back({Kind::Year, {}, 0, 4});
        return at + 1;
    }
    const Kind kind = kindOf({{'y', Kind::Year},
                              {'m', Kind::MonthOrMinute},
                              {'d', Kind::Day},
                              {'h', Kind::Hour},
                              {'s', Kind::Second}},
                             lc);
    if (kind == Kind::Literal) return std::nullopt;
    const size_t run = runLength(code, at, lc);
    section.tokens.push_back({kind, {}, 0, static_cast<int>(run)});
    return at + run;
}

// Reads one section starting at `at`; returns the position after its ';'.
size_t readSection(std::string_view code, size_t at, FormatSection& section) {
    while (at < code.size()) {
        if (code[at] == ';') return at + 1;
        std::optional<size_t> after;
        for (auto read :
             {readQuoted, readEscaped, readBracketed, readNumberPart, readSymbol, readDatePart}) {
            if ((after = read(code, at, section))) break;
        }
        if (!after) {  // anything else is shown as it stands
            const size_t length = unicode::utf8SequenceLength(static_cast<unsigned char>(code[at]));
            addLiteral(section, code.substr(at, length));
            after = at + length;
        }
        at = *after;
    }
    return at;
}

bool isDateKind(Kind kind) {
    switch (kind) {
        case Kind::Year:
        case Kind::Month:
        case Kind::Day:
        case Kind::Hour:
        case Kind::Minute:
        case Kind::Second:
        case Kind::ElapsedHours:
        case Kind::ElapsedMinutes:
        case Kind::ElapsedSeconds:
        case Kind::AmPm:
        case Kind::AP:
        case Kind::MonthOrMinute:
            return true;
        default:
            return false;
    }
}

std::string tokenText(const FormatToken& token) {
    switch (token.kind) {
        case Kind::Literal:
            return token.text;
        case Kind::Digit:
        case Kind::Point:
        case Kind::Comma:
        case Kind::Percent:
        case Kind::Slash:
            return std::string(1, token.symbol);
        case Kind::Exponent:
            return std::string("E") + token.symbol;
        default:
            return {};
    }
}

// In a date section, m means minutes right after an hour or right before a
// second; a point followed by zeros shows fractions of a second; number
// symbols are plain text.
void finishDateSection(FormatSection& section) {
    auto& tokens = section.tokens;
    auto neighbour = [&](size_t from, int step) -> const FormatToken* {
        for (long i = static_cast<long>(from) + step;
             i >= 0 && i < static_cast<long>(tokens.size()); i += step)
            if (isDateKind(tokens[static_cast<size_t>(i)].kind))
                return &tokens[static_cast<size_t>(i)];
        return nullptr;
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::MonthOrMinute) continue;
        const FormatToken* before = neighbour(i, -1);
        const FormatToken* after = neighbour(i, +1);
        const bool minute =
            tokens[i].count <= 2 &&
            ((before && (before->kind == Kind::Hour || before->kind == Kind::ElapsedHours)) ||
             (after && (after->kind == Kind::Second || after->kind == Kind::ElapsedSeconds)));
        tokens[i].kind = minute ? Kind::Minute : Kind::Month;
    }
    std::vector<FormatToken> finished;
    for (size_t i = 0; i < tokens.size(); ++i) {
        FormatToken& token = tokens[i];
        if (token.kind == Kind::Point && i + 1 < tokens.size() &&
            tokens[i + 1].kind == Kind::Digit && tokens[i + 1].symbol == '0') {
            int zeros = 0;
            while (i + 1 < tokens.size() && tokens[i + 1].kind == Kind::Digit &&
                   tokens[i + 1].symbol == '0') {
                ++zeros;
                ++i;
            }
            finished.push_back({Kind::SubSecond, {}, 0, zeros});
            section.subSecondDigits = std::max(section.subSecondDigits, std::min(zeros, 3));
            continue;
        }
        if (token.kind == Kind::AmPm || token.kind == Kind::AP) section.twelveHour = true;
        if (isDateKind(token.kind) || token.kind == Kind::Fill || token.kind == Kind::Text ||
            token.kind == Kind::General) {
            finished.push_back(std::move(token));
            continue;
        }
        const std::string text = tokenText(token);
        if (!finished.empty() && finished.back().kind == Kind::Literal)
            finished.back().text += text;
        else
            finished.push_back({Kind::Literal, text, 0, 0});
    }
    tokens = std::move(finished);
}

void classify(FormatSection& section) {
    for (const FormatToken& token : section.tokens) {
        if (isDateKind(token.kind)) section.isDate = true;
        if (token.kind == Kind::Text) section.hasText = true;
        if (token.kind == Kind::General) section.hasGeneral = true;
        if (token.kind == Kind::Digit) section.hasDigits = true;
    }
    if (section.isDate) {
        finishDateSection(section);
        section.hasDigits = false;
    }
}

}  // namespace

bool FormatCondition::holds(double v) const {
    switch (op) {
        case Op::Less:
            return v < value;
        case Op::LessEqual:
            return v <= value;
        case Op::Greater:
            return v > value;
        case Op::GreaterEqual:
            return v >= value;
        case Op::Equal:
            return v == value;
        case Op::NotEqual:
            return v != value;
    }
    return false;
}

ParsedFormat parseFormatCode(std::string_view code) {
    if (code.size() > kMaxCodeLength) code = code.substr(0, kMaxCodeLength);
    ParsedFormat parsed;
    size_t at = 0;
    do {
        FormatSection section;
        at = readSection(code, at, section);
        classify(section);
        parsed.sections.push_back(std::move(section));
    } while (at < code.size() && parsed.sections.size() < 4);
    if (!code.empty() && code.back() == ';' && parsed.sections.size() < 4 && at >= code.size())
        parsed.sections.emplace_back();  // "0;" has an empty second section

    const int count = static_cast<int>(parsed.sections.size());
    parsed.numberSections = std::min(count, 3);
    if (count == 4) {
        parsed.textSection = 3;
    } else if (count > 1 && parsed.sections.back().hasText) {
        parsed.textSection = count - 1;
        parsed.numberSections = count - 1;
    } else if (count == 1 && parsed.sections[0].hasText) {
        parsed.textSection = 0;
    }
    return parsed;
}

const ParsedFormat& cachedFormat(std::string_view code) {
    // Least recently used entries go first; a sheet uses only a few codes.
    constexpr size_t kCapacity = 64;
    struct Cache {
        std::list<std::pair<std::string, ParsedFormat>> entries;
        std::unordered_map<std::string_view, decltype(entries)::iterator> index;
    };
    thread_local Cache cache;
    if (auto found = cache.index.find(code); found != cache.index.end()) {
        cache.entries.splice(cache.entries.begin(), cache.entries, found->second);
        return found->second->second;
    }
    if (cache.entries.size() >= kCapacity) {
        cache.index.erase(cache.entries.back().first);
        cache.entries.pop_back();
    }
    cache.entries.emplace_front(std::string(code), parseFormatCode(code));
    cache.index.emplace(cache.entries.front().first, cache.entries.begin());
    return cache.entries.front().second;
}

}  // namespace tallowby::engine
