#include "timesheet/packed_list.h"

namespace tallowby::packed_list {

namespace {
constexpr QChar kRowSeparator = u'|';
constexpr QChar kFieldSeparator = u'^';
constexpr QChar kEscape = u'\\';

bool isEscapable(QChar c) {
    return c == kRowSeparator || c == kFieldSeparator || c == kEscape;
}

// Splits at every unescaped `separator`, keeping escapes for a later pass.
QStringList splitUnescaped(const QString& text, QChar separator) {
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == kEscape && i + 1 < text.size() && isEscapable(text[i + 1])) {
            current += c;
            current += text[++i];
        } else if (c == separator) {
            parts.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.append(current);
    return parts;
}

QString unescapeField(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        // A backslash before anything else is an ordinary character.
        if (field[i] == kEscape && i + 1 < field.size() && isEscapable(field[i + 1])) ++i;
        out += field[i];
    }
    return out;
}
}  // namespace

QString escapeField(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (QChar c : field) {
        if (isEscapable(c)) out += kEscape;
        out += c;
    }
    return out;
}

QString pack(const std::vector<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) text += kFieldSeparator;
            text += escapeField(row[i]);
        }
        text += kRowSeparator;
    }
    if (!text.isEmpty()) text.chop(1);
    return text;
}

std::vector<QStringList> unpack(const QString& text) {
    std::vector<QStringList> rows;
    if (text.isEmpty()) return rows;
    for (const QString& part : splitUnescaped(text, kRowSeparator)) {
        if (part.isEmpty()) continue;
        QStringList fields;
        for (const QString& field : splitUnescaped(part, kFieldSeparator))
            fields.append(unescapeField(field));
        rows.push_back(std::move(fields));
    }
    return rows;
}

}  // namespace tallowby::packed_list
