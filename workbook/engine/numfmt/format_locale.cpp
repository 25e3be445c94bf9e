#include <QLocale>

#include "workbook/engine/numfmt/number_format.h"

namespace tallowby::engine {

FormatLocale FormatLocale::english() {
    FormatLocale locale;
    locale.dayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                       "Thursday", "Friday", "Saturday"};
    locale.dayAbbrevs = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    locale.monthNames = {"January", "February", "March",     "April",   "May",      "June",
                         "July",    "August",   "September", "October", "November", "December"};
    locale.monthAbbrevs = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return locale;
}

FormatLocale FormatLocale::fromQLocale(const QLocale& qlocale) {
    FormatLocale locale = english();
    if (qlocale.language() == QLocale::C) return locale;
    auto text = [](const QString& s) { return s.toStdString(); };
    // Abbreviations without the trailing dot some locales add ("Jan.").
    auto abbreviation = [&](QString s) {
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
        return text(s);
    };
    locale.decimal = text(qlocale.decimalPoint());
    locale.group = text(qlocale.groupSeparator());
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i;  // Qt counts Monday as 1
        locale.dayNames[static_cast<size_t>(i)] = text(qlocale.dayName(qtDay, QLocale::LongFormat));
        locale.dayAbbrevs[static_cast<size_t>(i)] =
            abbreviation(qlocale.dayName(qtDay, QLocale::ShortFormat));
    }
    for (int m = 0; m < 12; ++m) {
        locale.monthNames[static_cast<size_t>(m)] =
            text(qlocale.monthName(m + 1, QLocale::LongFormat));
        locale.monthAbbrevs[static_cast<size_t>(m)] =
            abbreviation(qlocale.monthName(m + 1, QLocale::ShortFormat));
    }
    if (!qlocale.amText().isEmpty()) locale.am = text(qlocale.amText());
    if (!qlocale.pmText().isEmpty()) locale.pm = text(qlocale.pmText());
    if (!qlocale.currencySymbol().isEmpty()) locale.currency = text(qlocale.currencySymbol());
    return locale;
}

}  // namespace tallowby::engine
