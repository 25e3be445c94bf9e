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
constexpr char kRowByte = '|';
constexpr char kFieldByte = '^';
constexpr char kEscapeByte = '\\';

bool isEscapableByte(char c) {
    return c == kRowByte || c == kFieldByte || c == kEscapeByte;
}
}  // namespace

// The separators and the escape are ASCII, and no byte of a longer UTF-8
// character is, so the rows and fields are found in the bytes and only each
// field is decoded.
void RowReader::feed(QByteArrayView utf8) {
    const char* data = utf8.data();
    const qsizetype size = utf8.size();
    qsizetype start = 0;  // of the bytes not yet copied into the row
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (afterEscape_) {
            afterEscape_ = false;
            if (isEscapableByte(c)) continue;  // escaped: part of the field
        }
        if (c == kEscapeByte) {
            afterEscape_ = true;
        } else if (c == kRowByte) {
            row_.append(data + start, i - start);
            start = i + 1;
            endRow();
        }
    }
    row_.append(data + start, size - start);
}

void RowReader::finish() {
    endRow();
}

QString RowReader::fieldText(qsizetype position, QByteArrayView raw, bool escaped) {
    QByteArray unescaped;
    if (escaped) {
        unescaped.reserve(raw.size());
        for (qsizetype i = 0; i < raw.size(); ++i) {
            // A backslash before anything else is an ordinary character.
            if (raw[i] == kEscapeByte && i + 1 < raw.size() && isEscapableByte(raw[i + 1])) ++i;
            unescaped += raw[i];
        }
        raw = unescaped;
    }
    if (position >= static_cast<qsizetype>(seen_.size()))
        seen_.resize(static_cast<size_t>(position) + 1);
    Recent& recent = seen_[static_cast<size_t>(position)];
    for (size_t k = 0; k < kRemembered; ++k)
        if (!recent.texts[k].isNull() && QByteArrayView(recent.bytes[k]) == raw)
            return recent.texts[k];
    QString fresh = QString::fromUtf8(raw);
    // A null string would never be found again; the empty field is "" all the same.
    if (fresh.isNull()) fresh = QLatin1String("");
    recent.bytes[recent.next] = raw.toByteArray();
    recent.texts[recent.next] = fresh;
    recent.next = (recent.next + 1) % kRemembered;
    return fresh;
}

void RowReader::endRow() {
    // An empty row adds nothing.
    if (row_.isEmpty()) {
        afterEscape_ = false;
        return;
    }
    fields_.clear();
    const char* data = row_.constData();
    const qsizetype size = row_.size();
    qsizetype fieldStart = 0;
    bool escaped = false;  // the field holds an escape to drop
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size) {
            const char c = data[i];
            if (c == kEscapeByte && i + 1 < size && isEscapableByte(data[i + 1])) {
                escaped = true;
                ++i;
                continue;
            }
            if (c != kFieldByte) continue;
        }
        fields_.append(
            fieldText(fields_.size(), QByteArrayView(data + fieldStart, i - fieldStart), escaped));
        escaped = false;
        fieldStart = i + 1;
    }
    row_.clear();
    afterEscape_ = false;
    take_(fields_);
}

void forEachRow(const QString& text, const std::function<void(const QStringList&)>& take) {
    RowReader reader(take);
    reader.feed(text.toUtf8());
    reader.finish();
}

std::vector<QStringList> unpack(const QString& text) {
    std::vector<QStringList> rows;
    forEachRow(text, [&](const QStringList& fields) { rows.push_back(fields); });
    return rows;
}

}  // namespace tallowby::packed_list
