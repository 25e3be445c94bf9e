#include "timesheet/import/tracker_columns.h"

namespace tallowby::tracker_columns {

namespace {

QString quotedList(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names) quoted << QStringLiteral("\"%1\"").arg(name);
    return quoted.join(QStringLiteral(", "));
}

int indexOf(const QStringList& normalizedHeader, const QString& name) {
    return static_cast<int>(normalizedHeader.indexOf(normalized(name)));
}

// The chosen column, or the first known header the file has.
int pick(const QStringList& normalizedHeader, const QString& chosen, Kind kind) {
    if (!chosen.isEmpty()) return indexOf(normalizedHeader, chosen);
    for (const QString& name : knownHeaders(kind))
        if (const int at = indexOf(normalizedHeader, name); at >= 0) return at;
    return -1;
}

}  // namespace

QStringList knownHeaders(Kind kind) {
    switch (kind) {
        case Kind::Date:
            return {QStringLiteral("Date"), QStringLiteral("Start date"), QStringLiteral("Day")};
        case Kind::Duration:
            return {QStringLiteral("Duration"), QStringLiteral("Duration (h)"),
                    QStringLiteral("Duration (decimal)"), QStringLiteral("Hours")};
        case Kind::Start:
            return {QStringLiteral("From"), QStringLiteral("Start time")};
        case Kind::End:
            return {QStringLiteral("To"), QStringLiteral("End time")};
        case Kind::Type:
            return {QStringLiteral("Activity"), QStringLiteral("Task"), QStringLiteral("Tags"),
                    QStringLiteral("Project"), QStringLiteral("Type")};
    }
    return {};
}

QString normalized(const QString& header) {
    QString result;
    result.reserve(header.size());
    for (const QChar c : header)
        if (!c.isSpace()) result += c.toLower();
    return result;
}

Found find(const QStringList& header, const Chosen& chosen) {
    QStringList names;
    for (const QString& h : header) names << normalized(h);
    Found found;
    Columns& c = found.columns;
    c.date = pick(names, chosen.date, Kind::Date);
    c.duration = pick(names, chosen.duration, Kind::Duration);
    c.start = pick(names, chosen.start, Kind::Start);
    c.end = pick(names, chosen.end, Kind::End);
    c.type = pick(names, chosen.type, Kind::Type);

    QStringList problems;
    const auto missingChosen = [&](const QString& name, int at, const char* what) {
        if (name.isEmpty() || at >= 0) return false;
        problems << QStringLiteral("no column \"%1\" for the %2").arg(name, QLatin1String(what));
        return true;
    };
    const bool chosenMissing = missingChosen(chosen.date, c.date, "date") |
                               missingChosen(chosen.duration, c.duration, "hours") |
                               missingChosen(chosen.start, c.start, "start time") |
                               missingChosen(chosen.end, c.end, "end time") |
                               missingChosen(chosen.type, c.type, "type");
    if (chosenMissing) {
        found.error = problems.join(QStringLiteral("; "));
        return found;
    }
    found.error = missingKinds(c);
    return found;
}

QString missingKinds(const Columns& c) {
    QStringList problems;
    if (c.date < 0)
        problems << QStringLiteral("no date column (looked for %1)")
                        .arg(quotedList(knownHeaders(Kind::Date)));
    if (c.duration < 0 && (c.start < 0 || c.end < 0))
        problems << QStringLiteral("no hours column (looked for %1, or start and end times: %2)")
                        .arg(quotedList(knownHeaders(Kind::Duration)),
                             quotedList(knownHeaders(Kind::Start) + knownHeaders(Kind::End)));
    if (c.type < 0)
        problems << QStringLiteral("no type column (looked for %1)")
                        .arg(quotedList(knownHeaders(Kind::Type)));
    return problems.join(QStringLiteral("; "));
}

}  // namespace tallowby::tracker_columns
