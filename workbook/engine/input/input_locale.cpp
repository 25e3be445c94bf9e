#include "workbook/engine/input/input_locale.h"

#include <QLocale>
#include <cctype>

namespace tallowby::engine {
namespace {

const char* const kEnglishMonths[12] = {"january",   "february", "march",    "april",
                                        "may",       "june",     "july",     "august",
                                        "september", "october",  "november", "december"};
const char* const kEnglishDays[7] = {"sunday",   "monday", "tuesday", "wednesday",
                                     "thursday", "friday", "saturday"};

// The words a spreadsheet in that language accepts for TRUE and FALSE.
std::pair<const char*, const char*> booleanWords(QLocale::Language language) {
    switch (language) {
        case QLocale::German:
            return {"WAHR", "FALSCH"};
        case QLocale::French:
            return {"VRAI", "FAUX"};
        case QLocale::Spanish:
            return {"VERDADERO", "FALSO"};
        case QLocale::Italian:
            return {"VERO", "FALSO"};
        case QLocale::Dutch:
            return {"WAAR", "ONWAAR"};
        case QLocale::Portuguese:
            return {"VERDADEIRO", "FALSO"};
        default:
            return {nullptr, nullptr};
    }
}

std::string lowerText(const QString& text) {
    return text.toLower().toStdString();
}

void addName(std::vector<std::pair<std::string, int>>& months, std::string name, int month) {
    if (!name.empty() && name.back() == '.') name.pop_back();
    if (name.empty()) return;
    for (const auto& [existing, m] : months)
        if (existing == name) return;
    months.emplace_back(std::move(name), month);
}

// "M/d/yy" -> "m/d/yyyy", "dd.MM.yy" -> "dd.mm.yyyy".
std::string formatCodeOf(const QString& pattern, InputLocale::DateOrder& order, char& separator) {
    std::string code;
    std::string letters;
    const std::string text = pattern.toStdString();
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        size_t run = 1;
        while (i + run < text.size() && text[i + run] == c) ++run;
        if (c == 'd' && run <= 2) {
            code.append(run, 'd');
            letters.push_back('d');
        } else if (c == 'M' && run <= 2) {
            code.append(run, 'm');
            letters.push_back('m');
        } else if (c == 'y') {
            code += "yyyy";
            letters.push_back('y');
        } else if (c == '\'' || std::isalpha(static_cast<unsigned char>(c))) {
            return {};  // names or quoted text: not a short numeric pattern
        } else {
            if (letters.size() == 1) separator = c;
            code.append(run, c);
        }
        i += run;
    }
    if (letters == "dmy")
        order = InputLocale::DateOrder::DayMonthYear;
    else if (letters == "ymd")
        order = InputLocale::DateOrder::YearMonthDay;
    else if (letters == "mdy")
        order = InputLocale::DateOrder::MonthDayYear;
    else
        return {};
    return code;
}

}  // namespace

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

InputLocale InputLocale::fromQLocale(const QLocale& locale) {
    InputLocale input;
    const bool plainC = locale.language() == QLocale::C;
    if (!plainC) {
        input.decimal = locale.decimalPoint().toStdString();
        input.group = locale.groupSeparator().toStdString();
        if (!locale.currencySymbol().isEmpty())
            input.currency = locale.currencySymbol().toStdString();
        InputLocale::DateOrder order = input.dateOrder;
        char separator = input.dateSeparator;
        const std::string code =
            formatCodeOf(locale.dateFormat(QLocale::ShortFormat), order, separator);
        if (!code.empty()) {
            input.shortDateFormat = code;
            input.dateOrder = order;
            input.dateSeparator = separator;
        }
        for (int m = 1; m <= 12; ++m) {
            addName(input.months, lowerText(locale.monthName(m, QLocale::LongFormat)), m);
            addName(input.months, lowerText(locale.monthName(m, QLocale::ShortFormat)), m);
            addName(input.months, lowerText(locale.standaloneMonthName(m, QLocale::LongFormat)), m);
            addName(input.months, lowerText(locale.standaloneMonthName(m, QLocale::ShortFormat)),
                    m);
        }
        for (int d = 1; d <= 7; ++d) {
            input.weekdays.push_back(lowerText(locale.dayName(d, QLocale::LongFormat)));
            std::string shortName = lowerText(locale.dayName(d, QLocale::ShortFormat));
            if (!shortName.empty() && shortName.back() == '.') shortName.pop_back();
            input.weekdays.push_back(shortName);
        }
        if (!locale.amText().isEmpty()) input.amWords.push_back(lowerText(locale.amText()));
        if (!locale.pmText().isEmpty()) input.pmWords.push_back(lowerText(locale.pmText()));
        const auto [yes, no] = booleanWords(locale.language());
        if (yes) {
            input.trueWords.push_back(yes);
            input.falseWords.push_back(no);
        }
    }
    for (int m = 1; m <= 12; ++m) {
        const std::string full = kEnglishMonths[m - 1];
        addName(input.months, full, m);
        addName(input.months, full.substr(0, 3), m);
    }
    addName(input.months, "sept", 9);
    for (const char* day : kEnglishDays) {
        input.weekdays.push_back(day);
        input.weekdays.push_back(std::string(day).substr(0, 3));
    }
    input.amWords.insert(input.amWords.end(), {"am", "a"});
    input.pmWords.insert(input.pmWords.end(), {"pm", "p"});
    input.trueWords.push_back("TRUE");
    input.falseWords.push_back("FALSE");
    return input;
}

}  // namespace tallowby::engine
