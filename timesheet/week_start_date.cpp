#include "timesheet/week_start_date.h"

#include <QRegularExpression>

#include "app/message_field.h"

namespace tallowby::week_start_date {

namespace {

bool hasFourDigitYear(const QString& format) {
    return format.contains(QLatin1String("yyyy"));
}

// Moves a year read from two digits into [today - 80, today + 19].
QDate placeCentury(QDate date, QDate today) {
    if (!date.isValid() || !today.isValid()) return date;
    const int yy = date.year() % 100;
    int year = today.year() - today.year() % 100 + yy;
    if (year > today.year() + 19) year -= 100;
    if (year < today.year() - 80) year += 100;
    return QDate(year, date.month(), date.day());
}

std::optional<QDate> tryFormat(const QString& text, const QLocale& locale, const QString& format,
                               QDate today) {
    if (format.isEmpty()) return std::nullopt;
    if (!hasFourDigitYear(format) && format.contains(QLatin1String("yy"))) {
        // Accept the year written out in full as well as in two digits.
        QString full = format;
        full.replace(QRegularExpression(QStringLiteral("(?<!y)yy(?!y)")), QStringLiteral("yyyy"));
        const QDate d = locale.toDate(text, full);
        if (d.isValid()) return d;
        const QDate shortYear = placeCentury(locale.toDate(text, format), today);
        if (shortYear.isValid()) return shortYear;
        return std::nullopt;
    }
    const QDate d = locale.toDate(text, format);
    if (d.isValid()) return d;
    return std::nullopt;
}

}  // namespace

QString toStoredText(QDate date) {
    return date.toString(Qt::ISODate);
}

std::optional<QDate> fromStoredText(const QString& text, const QLocale& locale, QDate today) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (iso.match(t).hasMatch()) {
        const QDate d = QDate::fromString(t, Qt::ISODate);
        if (d.isValid()) return d;
        return std::nullopt;
    }
    for (const auto form : {QLocale::ShortFormat, QLocale::LongFormat})
        if (auto d = tryFormat(t, locale, locale.dateFormat(form), today)) return d;
    return std::nullopt;
}

QString dayChoiceText(QDate date, const QLocale& locale) {
    return locale.toString(date, QStringLiteral("dddd, MMMM d, yyyy"));
}

QString unreadableNotice(const QString& storedText) {
    return QStringLiteral(
               "The stored week start \"%1\" is not a date; today's date is used instead. "
               "The stored text is kept until you choose another date.")
        .arg(fieldForMessage(storedText));
}

}  // namespace tallowby::week_start_date
