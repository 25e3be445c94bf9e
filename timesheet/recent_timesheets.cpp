#include "timesheet/recent_timesheets.h"

#include <QDir>
#include <QFileInfo>

#include "timesheet/packed_list.h"

namespace tallowby::recent_timesheets {

namespace {
QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
}  // namespace

QStringList fromStoredText(const QString& text) {
    QStringList paths;
    for (const QStringList& row : packed_list::unpack(text))
        if (!row.isEmpty() && !row.first().isEmpty()) paths << row.first();
    return paths;
}

QString toStoredText(const QStringList& paths) {
    std::vector<QStringList> rows;
    for (const QString& path : paths) rows.push_back({path});
    return packed_list::pack(rows);
}

QStringList withFirst(const QStringList& paths, const QString& path, int most) {
    const QString first = cleanAbsolute(path);
    QStringList result{first};
    for (const QString& known : paths) {
        if (result.size() >= most) break;
        // The same file named another way ("a/../b") is one entry.
        if (cleanAbsolute(known) != first) result << known;
    }
    return result;
}

}  // namespace tallowby::recent_timesheets
