#include "timesheet/import/tracker_values.h"

#include <QRegularExpression>
#include <cmath>

namespace tallowby::tracker_values {

namespace {

int fullYear(const QString& digits) {
    const int year = digits.toInt();
    return digits.size() <= 2 ? 2000 + year : year;
}

// The text before a time that follows the date.
QString datePart(const QString& text) {
    QString date = text.trimmed();
    const qsizetype cut = date.indexOf(QRegularExpression(QStringLiteral("[ T]")));
    if (cut > 0) date.truncate(cut);
    return date;
}

}  // namespace

std::optional<DateText> parseDate(const QString& text) {
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression dotted(
        QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4}|\\d{2})\\.?$"));
    static const QRegularExpression slashed(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})$"));
    const QString date = datePart(text);
    if (const auto m = iso.match(date); m.hasMatch())
        return DateText{DateText::Form::Iso, m.captured(2).toInt(), m.captured(3).toInt(),
                        m.captured(1).toInt()};
    if (const auto m = dotted.match(date); m.hasMatch())
        return DateText{DateText::Form::Dotted, m.captured(1).toInt(), m.captured(2).toInt(),
                        fullYear(m.captured(3))};
    if (const auto m = slashed.match(date); m.hasMatch())
        return DateText{DateText::Form::Slashed, m.captured(1).toInt(), m.captured(2).toInt(),
                        fullYear(m.captured(3))};
    return std::nullopt;
}

bool localeWritesDayFirst(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = format.indexOf(QLatin1Char('d'));
    const qsizetype month = format.indexOf(QLatin1Char('M'));
    return day >= 0 && month >= 0 && day < month;
}

std::optional<QDate> toDate(const DateText& date, bool slashedDayFirst) {
    int day = date.first, month = date.second;
    switch (date.form) {
        case DateText::Form::Iso:
            month = date.first;
            day = date.second;
            break;
        case DateText::Form::Dotted:
            break;
        case DateText::Form::Slashed:
            if (!slashedDayFirst) std::swap(day, month);
            break;
    }
    const QDate result(date.year, month, day);
    if (!result.isValid()) return std::nullopt;
    return result;
}

std::optional<int> parseDuration(const QString& text, const QLocale& locale) {
    const QString t = text.trimmed();
    static const QRegularExpression clock(QStringLiteral("^(\\d{1,5}):(\\d{2})(?::(\\d{2}))?$"));
    if (const auto m = clock.match(t); m.hasMatch()) {
        const int minutes = m.captured(2).toInt();
        const int seconds = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        if (minutes > 59 || seconds > 59) return std::nullopt;
        return m.captured(1).toInt() * 60 + minutes + (seconds >= 30 ? 1 : 0);
    }
    static const QRegularExpression point(QStringLiteral("^(\\d{1,5})(?:\\.(\\d*))?$"));
    static const QRegularExpression comma(QStringLiteral("^(\\d{1,5})(?:,(\\d*))?$"));
    const bool decimalComma = locale.decimalPoint() == QLatin1String(",");
    auto m = point.match(t);
    if (!m.hasMatch() && decimalComma) m = comma.match(t);
    if (!m.hasMatch()) return std::nullopt;
    const double hours =
        (m.captured(1) + QLatin1Char('.') + m.captured(2) + QLatin1Char('0')).toDouble();
    return static_cast<int>(std::lround(hours * 60.0));
}

std::optional<int> parseTimeOfDay(const QString& text) {
    static const QRegularExpression time(
        QStringLiteral("(?:^|[ T])(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?$"));
    const auto m = time.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    const int second = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString half = m.captured(4).toLower();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("pm") ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return hour * 60 + minute + (second >= 30 ? 1 : 0);
}

int minutesBetween(int startMinutes, int endMinutes) {
    return endMinutes >= startMinutes ? endMinutes - startMinutes
                                      : endMinutes + 24 * 60 - startMinutes;
}

QString hoursText(int minutes) {
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace tallowby::tracker_values
