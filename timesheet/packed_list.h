#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The one-line text form of a list in the settings store: rows joined by "|",
// a row's fields by "^". Inside a field, "\", "|" and "^" are written as
// "\\", "\|" and "\^" so that no typed text can split or shift a row; text
// without those three characters is written exactly as it stands.
namespace tallowby::packed_list {

// Each row holds all of its list's fields, empty ones included.
QString pack(const std::vector<QStringList>& rows);

// The rows of a packed text, each with the fields it holds (which may be
// more or fewer than its list has columns). An empty part between two "|"
// (or after a trailing one) adds no row; the empty text gives no rows.
std::vector<QStringList> unpack(const QString& text);

// The same rows one at a time, without holding them all; repeated field texts
// share one string.
void forEachRow(const QString& text, const std::function<void(const QStringList&)>& take);

QString escapeField(const QString& field);

}  // namespace tallowby::packed_list
