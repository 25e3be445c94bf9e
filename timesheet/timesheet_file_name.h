#pragma once

#include <QDate>
#include <QString>
#include <vector>

namespace tallowby::timesheet_file_name {

// The longest file name (in UTF-8 bytes) most file systems take.
inline constexpr int kLongestName = 255;
// Room kept for what follows a stem: " (99999)" and the longest extension.
inline constexpr int kSuffixRoom = 16;

// "Timesheet <employee> <yyyy-mm-dd>" (just "Timesheet <yyyy-mm-dd>" for a
// timesheet without an employee), safe as one file name on Linux and on the
// shared drives outputs are copied to: "/", "\", NUL, control characters and
// the characters Windows refuses (: * ? " < > |) become "_", runs of blanks
// one space, and a stem too long for a name with its suffix is cut at a
// character's boundary of its UTF-8 form (the date always stays).
QString stem(const QString& employee, const QDate& weekStart);

// The stems made unique, in the order given: the first of a stem keeps it,
// later ones get " (2)", " (3)"... (skipping any that another is already
// called). Names that differ only in case count as the same, since outputs
// may land on a file system that does not tell them apart. Deterministic in
// the order alone, so every part of a batch that sees the same list comes to
// the same names.
std::vector<QString> unique(const std::vector<QString>& stems);

}  // namespace tallowby::timesheet_file_name
