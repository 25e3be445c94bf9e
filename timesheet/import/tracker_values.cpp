#include "timesheet/import/tracker_values.h"

#include <cmath>

namespace tallowby::tracker_values {

namespace {

// Reads a text from the left; every step fails without moving on a mismatch.
// Hand-written because these run per row of files of 100,000 rows.
class Scan {
  public:
    explicit Scan(QStringView text) : text_(text) {}

    bool atEnd() const { return at_ == text_.size(); }

    bool skip(char c) {
        if (atEnd() || text_[at_] != QLatin1Char(c)) return false;
        ++at_;
        return true;
    }

    // A run of ASCII digits whose length lies between `fewest` and `most`;
    // its length goes to `length` when asked for.
    std::optional<int> number(int fewest, int most, int* length = nullptr) {
        qsizetype end = at_;
        int value = 0;
        while (end < text_.size() && text_[end] >= QLatin1Char('0') &&
               text_[end] <= QLatin1Char('9')) {
            if (end - at_ >= most) return std::nullopt;
            value = value * 10 + (text_[end].unicode() - '0');
            ++end;
        }
        const auto digits = static_cast<int>(end - at_);
        if (digits < fewest) return std::nullopt;
        at_ = end;
        if (length) *length = digits;
        return value;
    }

    // The digits after a decimal separator as a fraction (any number of them).
    double fraction() {
        double value = 0, scale = 0.1;
        while (!atEnd() && text_[at_] >= QLatin1Char('0') && text_[at_] <= QLatin1Char('9')) {
            value += (text_[at_].unicode() - '0') * scale;
            scale /= 10;
            ++at_;
        }
        return value;
    }

  private:
    QStringView text_;
    qsizetype at_ = 0;
};

int fullYear(int year, int digits) {
    return digits == 2 ? 2000 + year : year;
}

// The text before a time that follows the date.
QStringView datePart(QStringView text) {
    for (qsizetype i = 1; i < text.size(); ++i)
        if (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('T')) return text.left(i);
    return text;
}

// Three numbers with `separator` between them, the last a year of two or four digits.
std::optional<DateText> dayMonthYear(QStringView text, char separator, DateText::Form form) {
    Scan scan(text);
    const auto first = scan.number(1, 2);
    if (!first || !scan.skip(separator)) return std::nullopt;
    const auto second = scan.number(1, 2);
    if (!second || !scan.skip(separator)) return std::nullopt;
    int digits = 0;
    const auto year = scan.number(2, 4, &digits);
    if (!year || digits == 3) return std::nullopt;
    if (form == DateText::Form::Dotted) scan.skip('.');
    if (!scan.atEnd()) return std::nullopt;
    return DateText{form, *first, *second, fullYear(*year, digits)};
}

}  // namespace

std::optional<DateText> parseDate(const QString& text) {
    const QStringView date = datePart(QStringView(text).trimmed());
    Scan iso(date);
    int digits = 0;
    if (const auto year = iso.number(4, 4, &digits); year && iso.skip('-')) {
        const auto month = iso.number(1, 2);
        if (!month || !iso.skip('-')) return std::nullopt;
        const auto day = iso.number(1, 2);
        if (!day || !iso.atEnd()) return std::nullopt;
        return DateText{DateText::Form::Iso, *month, *day, *year};
    }
    if (auto dotted = dayMonthYear(date, '.', DateText::Form::Dotted)) return dotted;
    return dayMonthYear(date, '/', DateText::Form::Slashed);
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
    const QStringView t = QStringView(text).trimmed();
    Scan clock(t);
    if (const auto hours = clock.number(1, 5); hours && clock.skip(':')) {
        const auto minutes = clock.number(2, 2);
        if (!minutes || *minutes > 59) return std::nullopt;
        int seconds = 0;
        if (clock.skip(':')) {
            const auto s = clock.number(2, 2);
            if (!s || *s > 59) return std::nullopt;
            seconds = *s;
        }
        if (!clock.atEnd()) return std::nullopt;
        return *hours * 60 + *minutes + (seconds >= 30 ? 1 : 0);
    }
    Scan decimal(t);
    const auto whole = decimal.number(1, 5);
    if (!whole) return std::nullopt;
    double hours = *whole;
    const bool decimalComma = locale.decimalPoint() == QLatin1String(",");
    if (decimal.skip('.') || (decimalComma && decimal.skip(','))) hours += decimal.fraction();
    if (!decimal.atEnd()) return std::nullopt;
    return static_cast<int>(std::lround(hours * 60.0));
}

std::optional<int> parseTimeOfDay(const QString& text) {
    QStringView t = QStringView(text).trimmed();
    bool pm = false, halfDay = false;
    if (t.size() >= 2 && t.back().toLower() == QLatin1Char('m')) {
        const QChar half = t[t.size() - 2].toLower();
        if (half == QLatin1Char('a') || half == QLatin1Char('p')) {
            halfDay = true;
            pm = half == QLatin1Char('p');
            t = t.chopped(2).trimmed();
        }
    }
    // The time is the last word; a date may stand before it.
    for (qsizetype i = t.size() - 1; i >= 0; --i)
        if (t[i] == QLatin1Char(' ') || t[i] == QLatin1Char('T')) {
            t = t.mid(i + 1);
            break;
        }
    Scan scan(t);
    auto hour = scan.number(1, 2);
    if (!hour || !scan.skip(':')) return std::nullopt;
    const auto minute = scan.number(2, 2);
    if (!minute) return std::nullopt;
    int second = 0;
    if (scan.skip(':')) {
        const auto s = scan.number(2, 2);
        if (!s) return std::nullopt;
        second = *s;
    }
    if (!scan.atEnd()) return std::nullopt;
    if (halfDay) {
        if (*hour < 1 || *hour > 12) return std::nullopt;
        hour = *hour % 12 + (pm ? 12 : 0);
    }
    if (*hour > 23 || *minute > 59 || second > 59) return std::nullopt;
    return *hour * 60 + *minute + (second >= 30 ? 1 : 0);
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
