#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Durations of an hours entry as the user types them and as the list keeps them.
namespace tallowby::duration_text {

// The longest duration one day can hold.
inline constexpr int kMaxMinutes = 24 * 60;

// Minutes from typed text: "8" (hours), "8:30" or "8h30" style with a colon,
// "830" or "0830" (hours and two digits of minutes), "8.5" or, where the
// locale writes a decimal comma, "8,5" (fractions of an hour, rounded to the
// minute). Surrounding blanks are ignored. Nothing for anything else,
// negative values or more than 24 hours.
std::optional<int> parse(const QString& typed, const QLocale& locale = QLocale());

// The stored form: "hh:mm", hours with at least two digits.
QString format(int minutes);

// Minutes from the stored form ("hh:mm", one or more digits of hours);
// nothing for other text.
std::optional<int> fromStored(const QString& stored);

}  // namespace tallowby::duration_text
