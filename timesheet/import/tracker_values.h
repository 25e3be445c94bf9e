#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The values of a tracker's export: dates, durations, times of day, read
// from the texts the common exports write.
namespace tallowby::tracker_values {

// A date as written, before a slashed date's order is known.
struct DateText {
    enum class Form { Iso, Dotted, Slashed };
    Form form = Form::Iso;
    int first = 0;  // year (ISO), day (dotted), first number (slashed)
    int second = 0;
    int year = 0;  // four digits; two-digit years are placed in 2000-2099
};

// "2027-01-04", "04.01.2027", "4.1.27", "1/4/2027", "04/01/2027"; a time
// after the date ("2027-01-04 09:00", "2027-01-04T09:00:00") is ignored.
std::optional<DateText> parseDate(const QString& text);

// Whether a slashed date reads day first: the file settles it when one of
// its dates has a first number above 12 (day first) or a second above 12
// (month first); otherwise the locale's short date form does.
bool localeWritesDayFirst(const QLocale& locale);

// The date, with slashed dates read day first or month first; nothing when
// no such day exists.
std::optional<QDate> toDate(const DateText& date, bool slashedDayFirst);

// Minutes from "h:mm", "h:mm:ss" (seconds rounded to the nearest minute) or
// decimal hours ("1.5", or "1,5" where the locale writes a decimal comma).
std::optional<int> parseDuration(const QString& text, const QLocale& locale);

// Minutes after midnight of "9:00", "09:00:30", "9:00 AM", "17:15"; a date
// before the time ("2027-01-04 09:00") is passed over.
std::optional<int> parseTimeOfDay(const QString& text);

// The minutes from start to end; an end before the start is on the next day.
int minutesBetween(int startMinutes, int endMinutes);

// Minutes as the hours list writes them: "hh:mm" (more than 99 hours keep all digits).
QString hoursText(int minutes);

}  // namespace tallowby::tracker_values
