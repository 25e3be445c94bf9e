#pragma once

#include <QString>
#include <QStringList>

// The list of timesheet files last opened or saved, newest first, as the
// File menu shows it and the settings store keeps it.
namespace tallowby::recent_timesheets {

inline constexpr int kMost = 8;

// The stored text (a packed list, one path per row) and back.
QStringList fromStoredText(const QString& text);
QString toStoredText(const QStringList& paths);

// `paths` with `path` (made absolute and clean) first, an earlier entry for
// the same file dropped, and at most `most` entries.
QStringList withFirst(const QStringList& paths, const QString& path, int most = kMost);

}  // namespace tallowby::recent_timesheets
