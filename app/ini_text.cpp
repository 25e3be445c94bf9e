#include "app/ini_text.h"

#include <QStringDecoder>

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

// "[name]" -> name, for a section header line.
std::optional<QString> sectionOf(const QString& line) {
    const QString t = trimmedBlanks(line);
    if (t.size() >= 2 && t.front() == QLatin1Char('[') && t.back() == QLatin1Char(']'))
        return t.mid(1, t.size() - 2);
    return std::nullopt;
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<QString> keyOf(const QString& line) {
    const QString t = trimmedBlanks(line);
    if (t.isEmpty() || t.front() == QLatin1Char(';') || t.front() == QLatin1Char('#'))
        return std::nullopt;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return std::nullopt;
    return trimmedBlanks(line.left(eq));
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

std::optional<QString> find(const QStringList& lines, const QString& section, const QString& key) {
    const QString wantedSection = encodeName(section);
    const QString wantedKey = encodeName(key);
    bool inSection = false;
    for (const QString& line : lines) {
        if (const auto s = sectionOf(line)) {
            inSection = (*s == wantedSection);
            continue;
        }
        if (!inSection) continue;
        if (const auto k = keyOf(line); k && *k == wantedKey)
            return decodeValue(line.mid(line.indexOf(QLatin1Char('=')) + 1));
    }
    return std::nullopt;
}

void set(QStringList& lines, const QString& section, const QString& key, const QString& value) {
    const QString wantedSection = encodeName(section);
    const QString wantedKey = encodeName(key);
    const QString newLine = wantedKey + QLatin1Char('=') + encodeValue(value);
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
        if (!trimmedBlanks(lines[i]).isEmpty()) insertAt = i + 1;
    }
    if (insertAt >= 0) {
        lines.insert(insertAt, newLine);
        return;
    }
    if (!lines.isEmpty() && !trimmedBlanks(lines.back()).isEmpty()) lines.append(QString());
    lines.append(QLatin1Char('[') + wantedSection + QLatin1Char(']'));
    lines.append(newLine);
}

SectionShape shapeOf(const QStringList& lines, const QString& section) {
    const QString wantedSection = encodeName(section);
    SectionShape shape;
    QStringList seen;
    bool inSection = false;
    for (const QString& line : lines) {
        if (const auto s = sectionOf(line)) {
            inSection = (*s == wantedSection);
            shape.present = shape.present || inSection;
            continue;
        }
        if (!inSection) continue;
        const auto k = keyOf(line);
        if (!k) continue;
        if (!seen.contains(*k))
            seen << *k;
        else if (!shape.repeatedKeys.contains(*k))
            shape.repeatedKeys << *k;
    }
    return shape;
}

std::optional<QString> whyNotIniText(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QStringLiteral("it is UTF-16 text, not UTF-8");
    if (bytes.contains('\0')) return QStringLiteral("it holds NUL bytes");
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) return QStringLiteral("it is not UTF-8 text");
    for (qsizetype i = bytes.indexOf('\r'); i >= 0; i = bytes.indexOf('\r', i + 1))
        if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
            return QStringLiteral("its lines end in a bare carriage return");
    int number = 0;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        ++number;
        const QStringView t = line.trimmed();
        const bool fits = t.isEmpty() || t.startsWith(QLatin1Char(';')) ||
                          t.startsWith(QLatin1Char('#')) ||
                          (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) ||
                          t.contains(QLatin1Char('='));
        if (!fits) return QStringLiteral("line %1 is not an INI line").arg(number);
    }
    return std::nullopt;
}

QStringList linesOf(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) body.remove(0, 3);
    QStringList lines = QString::fromUtf8(body).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

}  // namespace tallowby::ini_text
