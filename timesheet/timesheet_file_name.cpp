#include "timesheet/timesheet_file_name.h"

#include <QSet>

namespace tallowby::timesheet_file_name {

namespace {

bool unsafe(char32_t c) {
    if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0)) return true;
    switch (c) {
        case '/':
        case '\\':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return true;
        default:
            return false;
    }
}

// The employee's name with unsafe characters replaced and blanks evened out.
QString safeText(const QString& text) {
    QString safe;
    safe.reserve(text.size());
    bool blank = false;
    for (const char32_t c : text.toUcs4()) {
        if (c == ' ' || c == 0xa0 || c == '\t') {
            blank = true;
            continue;
        }
        if (blank && !safe.isEmpty()) safe += QLatin1Char(' ');
        blank = false;
        if (unsafe(c))
            safe += QLatin1Char('_');
        else
            safe += QString::fromUcs4(&c, 1);
    }
    return safe;
}

// At most `bytes` bytes of the text's UTF-8 form, never half a character.
QString cutUtf8(const QString& text, int bytes) {
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= bytes) return text;
    qsizetype end = bytes;
    // Back up over continuation bytes to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xc0) == 0x80) --end;
    return QString::fromUtf8(utf8.left(end)).trimmed();
}

}  // namespace

QString stem(const QString& employee, const QDate& weekStart) {
    const QString prefix = QStringLiteral("Timesheet ");
    const QString date =
        weekStart.isValid() ? QLatin1Char(' ') + weekStart.toString(Qt::ISODate) : QString();
    const int room = kLongestName - kSuffixRoom - static_cast<int>(prefix.size() + date.size());
    const QString name = cutUtf8(safeText(employee), room);
    if (name.isEmpty()) return QStringLiteral("Timesheet") + date;
    return prefix + name + date;
}

std::vector<QString> unique(const std::vector<QString>& stems) {
    QSet<QString> taken;
    for (const QString& s : stems) taken.insert(s.toCaseFolded());
    // A stem given more than once is taken by its first; the others get a number.
    QSet<QString> given;
    std::vector<QString> names;
    names.reserve(stems.size());
    for (const QString& s : stems) {
        const QString folded = s.toCaseFolded();
        if (!given.contains(folded)) {
            given.insert(folded);
            names.push_back(s);
            continue;
        }
        for (int n = 2;; ++n) {
            const QString numbered = s + QStringLiteral(" (%1)").arg(n);
            if (!taken.contains(numbered.toCaseFolded())) {
                taken.insert(numbered.toCaseFolded());
                names.push_back(numbered);
                break;
            }
        }
    }
    return names;
}

}  // namespace tallowby::timesheet_file_name
