#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The week start as stored text, and the dates of the Day choice.
namespace tallowby::week_start_date {

// yyyy-MM-dd, the same under every locale and free of century guessing.
QString toStoredText(QDate date);

// Reads a stored week start: ISO 8601 first, then the locale's short and
// long date forms (older stores were written that way). A two-digit year is
// placed in the hundred years around `today`. Nothing for any other text.
std::optional<QDate> fromStoredText(const QString& text, const QLocale& locale, QDate today);

// What the user is told, once, when the stored week start is text that is
// not a date: today is used, and the text stays in the store until another
// date is chosen.
QString unreadableNotice(const QString& storedText);

// One item of the Day choice: full weekday name, full month name, day without
// leading zero, four-digit year ("Monday, August 30, 2021" in English).
QString dayChoiceText(QDate date, const QLocale& locale);

}  // namespace tallowby::week_start_date
