#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace tallowby {
class SettingsStore;
}

namespace tallowby::timesheet_files {

// The timesheet files among the inputs, sorted by path (the path as given,
// cleaned, for folders the folder's path and "/" and the name) and each once
// (the same file reached twice counts once, where it sorts first). A file
// given by name counts whatever its name; in a folder, the regular files
// directly in it whose names end in ".ini" (any case) and do not start with
// a dot. Inputs that do not exist, or folders without such files, are named
// in `problems`.
struct Found {
    QStringList files;
    QStringList problems;
};
Found find(const QStringList& inputs);

// What names a timesheet file's outputs: its employee and week start, read
// by the store's rules (an unreadable week start counts as `today`).
struct Heading {
    QString employee;
    QDate weekStart;
};

// The heading, or why the file is no timesheet file: it cannot be read, is
// no INI text, or has no [Tallowby] section (then `refusal` holds the reason).
struct Described {
    std::optional<Heading> heading;
    QString refusal;
};
Described describe(const QString& path, const QDate& today);

// Why the store read from `path` holds no timesheet (worded as `describe`
// words it), or nothing when it does; `notice` is the store's problem notice
// if it gave one while loading.
std::optional<QString> refusalOf(const SettingsStore& settings, const QString& path,
                                 const QString& notice);

}  // namespace tallowby::timesheet_files
