#include "timesheet/packed_list.h"

#include <array>

namespace tallowby::packed_list {

namespace {
constexpr QChar kRowSeparator = u'|';
constexpr QChar kFieldSeparator = u'^';
constexpr QChar kEscape = u'\\';

bool isEscapable(QChar c) {
    return c == kRowSeparator || c == kFieldSeparator || c == kEscape;
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

namespace {

// Field texts repeat from row to row (the same days, types, hours and
// indexes): each field position keeps the last few distinct texts it saw, and
// a repeat shares that string instead of allocating its own, which keeps a
// store of a million entries to a fraction of the memory.
class FieldTexts {
  public:
    QString take(qsizetype position, QStringView text) {
        if (position >= static_cast<qsizetype>(seen_.size()))
            seen_.resize(static_cast<size_t>(position) + 1);
        Recent& recent = seen_[static_cast<size_t>(position)];
        for (const QString& known : recent.texts)
            if (known.size() == text.size() && QStringView(known) == text) return known;
        QString fresh = text.toString();
        recent.texts[recent.next] = fresh;
        recent.next = (recent.next + 1) % kRemembered;
        return fresh;
    }

  private:
    static constexpr size_t kRemembered = 16;
    struct Recent {
        std::array<QString, kRemembered> texts;
        size_t next = 0;
    };
    std::vector<Recent> seen_;
};

}  // namespace

void forEachRow(const QString& text, const std::function<void(const QStringList&)>& take) {
    FieldTexts texts;
    QStringList fields;
    QString unescaped;
    const QChar* data = text.constData();
    const qsizetype size = text.size();
    qsizetype rowStart = 0;
    qsizetype fieldStart = 0;
    bool escaped = false;  // the field holds an escape to drop
    auto endField = [&](qsizetype end) {
        const QStringView raw(data + fieldStart, end - fieldStart);
        if (escaped) {
            unescaped = unescapeField(raw.toString());
            fields.append(texts.take(fields.size(), unescaped));
        } else {
            fields.append(texts.take(fields.size(), raw));
        }
        escaped = false;
        fieldStart = end + 1;
    };
    // One pass finds the same escapes, fields and rows as splitting at the
    // rows first and at the fields of each row after.
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size) {
            const QChar c = data[i];
            if (c == kEscape && i + 1 < size && isEscapable(data[i + 1])) {
                escaped = true;
                ++i;
                continue;
            }
            if (c == kFieldSeparator) {
                endField(i);
                continue;
            }
            if (c != kRowSeparator) continue;
        }
        // The end of a row: an empty one adds nothing.
        if (i > rowStart) {
            endField(i);
            take(fields);
        }
        fields.clear();
        escaped = false;
        rowStart = fieldStart = i + 1;
    }
}

std::vector<QStringList> unpack(const QString& text) {
    std::vector<QStringList> rows;
    forEachRow(text, [&](const QStringList& fields) { rows.push_back(fields); });
    return rows;
}

}  // namespace tallowby::packed_list
