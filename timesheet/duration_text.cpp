#include "timesheet/duration_text.h"

#include <cmath>

namespace tallowby::duration_text {

namespace {

bool allDigits(QStringView text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

std::optional<int> withinADay(long long minutes) {
    if (minutes < 0 || minutes > kMaxMinutes) return std::nullopt;
    return static_cast<int>(minutes);
}

std::optional<int> fromColon(QStringView text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QStringView hours = text.left(colon);
    const QStringView minutes = text.mid(colon + 1);
    if (!allDigits(hours) || hours.size() > 3 || !allDigits(minutes) || minutes.size() != 2)
        return std::nullopt;
    const int m = minutes.toInt();
    if (m > 59) return std::nullopt;
    return withinADay(hours.toLongLong() * 60 + m);
}

std::optional<int> fromFraction(QStringView text, QChar decimal) {
    const qsizetype at = text.indexOf(decimal);
    const QStringView whole = text.left(at);
    const QStringView fraction = text.mid(at + 1);
    if ((!whole.isEmpty() && !allDigits(whole)) || !allDigits(fraction) || whole.size() > 3 ||
        fraction.size() > 6)
        return std::nullopt;
    const double hours =
        QStringLiteral("%1.%2")
            .arg(whole.isEmpty() ? QStringLiteral("0") : whole.toString(), fraction.toString())
            .toDouble();
    return withinADay(std::llround(hours * 60));
}

}  // namespace

std::optional<int> parse(const QString& typed, const QLocale& locale) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (text.contains(QLatin1Char(':'))) return fromColon(text);
    // The point is always read as a decimal point; the locale's comma too.
    const QChar decimal =
        locale.decimalPoint().size() == 1 ? locale.decimalPoint().at(0) : QLatin1Char('.');
    if (text.contains(QLatin1Char('.'))) return fromFraction(text, QLatin1Char('.'));
    if (decimal != QLatin1Char('.') && text.contains(decimal)) return fromFraction(text, decimal);
    if (!allDigits(text) || text.size() > 4) return std::nullopt;
    if (text.size() <= 2) return withinADay(text.toLongLong() * 60);
    // Three or four digits: the last two are minutes ("830", "0800").
    const int minutes = QStringView(text).right(2).toInt();
    if (minutes > 59) return std::nullopt;
    return withinADay(QStringView(text).left(text.size() - 2).toLongLong() * 60 + minutes);
}

QString format(int minutes) {
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

std::optional<int> fromStored(const QString& stored) {
    const QStringView text = QStringView(stored).trimmed();
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon <= 0) return std::nullopt;
    const QStringView hours = text.left(colon);
    const QStringView minutes = text.mid(colon + 1);
    if (!allDigits(hours) || hours.size() > 6 || !allDigits(minutes) || minutes.size() != 2)
        return std::nullopt;
    const int m = minutes.toInt();
    if (m > 59) return std::nullopt;
    return static_cast<int>(hours.toLongLong() * 60 + m);
}

}  // namespace tallowby::duration_text
