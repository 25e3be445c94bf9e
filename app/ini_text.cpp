#include "app/ini_text.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace tallowby::ini_text {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimmedBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

// Blanks are ASCII, so a line's UTF-8 bytes trim as its text does.
QByteArrayView trimmedBlanks(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.sliced(begin, end - begin);
}

// "[name]" -> name, for a section header line.
std::optional<QByteArrayView> sectionOf(QByteArrayView line) {
    const QByteArrayView t = trimmedBlanks(line);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') return t.sliced(1, t.size() - 2);
    return std::nullopt;
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<QByteArrayView> keyOf(QByteArrayView line) {
    const QByteArrayView t = trimmedBlanks(line);
    if (t.isEmpty() || t.front() == ';' || t.front() == '#') return std::nullopt;
    const qsizetype eq = line.indexOf('=');
    if (eq < 0) return std::nullopt;
    return trimmedBlanks(line.first(eq));
}

// The index of the line giving `key` in `section`, or -1.
qsizetype lineOf(const QByteArrayList& lines, const QString& section, const QString& key) {
    const QByteArray wantedSection = encodeName(section).toLatin1();
    const QByteArray wantedKey = encodeName(key).toLatin1();
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (const auto s = sectionOf(line)) {
            inSection = (*s == wantedSection);
            continue;
        }
        if (!inSection) continue;
        if (const auto k = keyOf(line); k && *k == wantedKey) return i;
    }
    return -1;
}

}  // namespace

QString encodeValue(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    for (QChar c : value) {
        switch (c.unicode()) {
            case '\\':
                out += QLatin1String("\\\\");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            case '\t':
                out += QLatin1String("\\t");
                break;
            case 0:
                out += QLatin1String("\\0");
                break;
            default:
                out += c;
        }
    }
    const bool quote =
        !value.isEmpty() && (value.front() == QLatin1Char(' ') ||
                             value.back() == QLatin1Char(' ') || value.front() == QLatin1Char('"'));
    return quote ? QLatin1Char('"') + out + QLatin1Char('"') : out;
}

QString decodeValue(const QString& raw) {
    QString t = trimmedBlanks(raw);
    if (t.size() >= 2 && t.front() == QLatin1Char('"') && t.back() == QLatin1Char('"'))
        t = t.mid(1, t.size() - 2);
    QString out;
    out.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c != QLatin1Char('\\') || i + 1 >= t.size()) {
            out += c;
            continue;
        }
        switch (t[i + 1].unicode()) {
            case '\\':
                out += QLatin1Char('\\');
                break;
            case 'n':
                out += QLatin1Char('\n');
                break;
            case 'r':
                out += QLatin1Char('\r');
                break;
            case 't':
                out += QLatin1Char('\t');
                break;
            case '0':
                out += QChar(0);
                break;
            case '"':
                out += QLatin1Char('"');
                break;
            default:
                out += c;
                continue;  // keep the backslash, read the next char normally
        }
        ++i;
    }
    return out;
}

QString encodeName(const QString& name) {
    QString out;
    for (char byte : name.toUtf8()) {
        const auto u = static_cast<unsigned char>(byte);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || u == '_' || u == '-' || u == '.';
        if (plain)
            out += QLatin1Char(byte);
        else
            out += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

void decodeValueInPieces(QByteArrayView raw, const std::function<void(QByteArrayView)>& take,
                         qsizetype pieceSize) {
    QByteArrayView t = trimmedBlanks(raw);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.sliced(1, t.size() - 2);
    const char* data = t.data();
    const qsizetype size = t.size();
    QByteArray out;
    out.reserve(std::min(size, pieceSize) + 1);
    qsizetype i = 0;
    while (i < size) {
        if (out.size() >= pieceSize) {
            take(out);
            out.clear();
        }
        // Text up to the next backslash goes over whole, as far as the piece has room.
        const qsizetype room = std::min(size - i, pieceSize - out.size());
        const auto* slash =
            static_cast<const char*>(std::memchr(data + i, '\\', static_cast<size_t>(room)));
        const qsizetype plain = slash ? slash - (data + i) : room;
        if (plain > 0) {
            out.append(data + i, plain);
            i += plain;
            continue;
        }
        // A backslash: an escape, or itself when last or before an unknown letter.
        if (i + 1 >= size) {
            out += '\\';
            ++i;
            continue;
        }
        switch (data[i + 1]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            case '"':
                out += '"';
                break;
            default:
                out += '\\';
                ++i;  // keep the backslash, read the next char normally
                continue;
        }
        i += 2;
    }
    if (!out.isEmpty()) take(out);
}

std::optional<QByteArrayView> findRaw(const QByteArrayList& lines, const QString& section,
                                      const QString& key) {
    const qsizetype at = lineOf(lines, section, key);
    if (at < 0) return std::nullopt;
    const QByteArray& line = lines[at];
    return QByteArrayView(line).sliced(line.indexOf('=') + 1);
}

std::optional<QString> find(const QByteArrayList& lines, const QString& section,
                            const QString& key) {
    const auto raw = findRaw(lines, section, key);
    if (!raw) return std::nullopt;
    return decodeValue(QString::fromUtf8(*raw));
}

void set(QByteArrayList& lines, const QString& section, const QString& key, const QString& value) {
    const QByteArray wantedSection = encodeName(section).toLatin1();
    const QByteArray wantedKey = encodeName(key).toLatin1();
    const QByteArray newLine = wantedKey + '=' + encodeValue(value).toUtf8();
    bool inSection = false;
    qsizetype insertAt = -1;  // after the last non-empty line of the section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto s = sectionOf(lines[i])) {
            if (inSection) break;
            inSection = (*s == wantedSection);
            if (inSection) insertAt = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (const auto k = keyOf(lines[i]); k && *k == wantedKey) {
            lines[i] = newLine;
            return;
        }
        if (!trimmedBlanks(QByteArrayView(lines[i])).isEmpty()) insertAt = i + 1;
    }
    if (insertAt >= 0) {
        lines.insert(insertAt, newLine);
        return;
    }
    if (!lines.isEmpty() && !trimmedBlanks(QByteArrayView(lines.back())).isEmpty())
        lines.append(QByteArray());
    lines.append('[' + wantedSection + ']');
    lines.append(newLine);
}

SectionShape shapeOf(const QByteArrayList& lines, const QString& section) {
    const QByteArray wantedSection = encodeName(section).toLatin1();
    SectionShape shape;
    QStringList seen;
    bool inSection = false;
    for (const QByteArray& line : lines) {
        if (const auto s = sectionOf(line)) {
            inSection = (*s == wantedSection);
            shape.present = shape.present || inSection;
            continue;
        }
        if (!inSection) continue;
        const auto k = keyOf(line);
        if (!k) continue;
        const QString name = QString::fromUtf8(*k);
        if (!seen.contains(name))
            seen << name;
        else if (!shape.repeatedKeys.contains(name))
            shape.repeatedKeys << name;
    }
    return shape;
}

namespace {

// Blank, a comment, a section header or a key: a line with "=" is a key
// whatever else it holds, so only other lines are decoded to be looked at.
bool fitsIni(const QByteArray& line) {
    if (line.contains('=')) return true;
    const QString t = QString::fromUtf8(line).trimmed();
    return t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')) ||
           (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')));
}

}  // namespace

void LineReader::add(const char* data, qsizetype size) {
    if (size > 0 && std::memchr(data, 0, static_cast<size_t>(size))) nul_ = true;
    // Only whether the text is UTF-8 matters; the decoded piece is dropped
    // (decode() only converts once its result is taken as a string).
    if (!nul_) {
        const QString piece = decoder_.decode(QByteArrayView(data, size));
        Q_UNUSED(piece);
    }
    while (size > 0) {
        const auto* end =
            static_cast<const char*>(std::memchr(data, '\n', static_cast<size_t>(size)));
        if (!end) {
            current_.append(data, size);
            return;
        }
        current_.append(data, end - data);
        endLine(true);
        size -= end - data + 1;
        data = end + 1;
    }
}

std::optional<QString> LineReader::finish() {
    if (!current_.isEmpty()) endLine(false);
    if (utf16_) return QStringLiteral("it is UTF-16 text, not UTF-8");
    if (nul_) return QStringLiteral("it holds NUL bytes");
    if (decoder_.hasError()) return QStringLiteral("it is not UTF-8 text");
    if (bareCarriageReturn_) return QStringLiteral("its lines end in a bare carriage return");
    if (firstStrangeLine_ > 0)
        return QStringLiteral("line %1 is not an INI line").arg(firstStrangeLine_);
    return std::nullopt;
}

void LineReader::endLine(bool ended) {
    QByteArray line = std::move(current_);
    current_ = QByteArray();
    if (number_ == 0) {
        utf16_ = line.startsWith("\xFF\xFE") || line.startsWith("\xFE\xFF");
        if (line.startsWith("\xEF\xBB\xBF")) line.remove(0, 3);
    }
    ++number_;
    const qsizetype cr = line.indexOf('\r');
    if (cr >= 0 && (!ended || cr + 1 < line.size())) bareCarriageReturn_ = true;
    if (firstStrangeLine_ == 0 && !fitsIni(line)) firstStrangeLine_ = number_;
    if (ended && line.endsWith('\r')) line.chop(1);
    lines_.append(std::move(line));
}

std::optional<QString> whyNotIniText(const QByteArray& bytes) {
    LineReader reader;
    reader.add(bytes.constData(), bytes.size());
    return reader.finish();
}

QByteArrayList linesOf(const QByteArray& bytes) {
    LineReader reader;
    reader.add(bytes.constData(), bytes.size());
    reader.finish();
    return reader.take();
}

}  // namespace tallowby::ini_text
