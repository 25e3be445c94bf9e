#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace tallowby::ini_text {

// The INI form of one value: backslash, line breaks, tabs and NUL as escapes;
// the whole value in double quotes when blanks at its ends or a leading quote
// would otherwise be lost. Commas and semicolons stay as they are.
QString encodeValue(const QString& value);

// The inverse of encodeValue for the text after "=". Surrounding blanks are
// dropped; a value in double quotes keeps everything inside them. Unknown
// escapes keep their backslash, so hand-written paths read back unchanged.
QString decodeValue(const QString& raw);

// Why a file's bytes are not INI text the program wrote or could have
// written (UTF-16, NUL bytes, not UTF-8, bare carriage returns, a line that
// is no INI line), worded for the user; nothing when they are.
std::optional<QString> whyNotIniText(const QByteArray& bytes);

// The lines of INI text (a UTF-8 byte order mark and CR LF ends dropped).
QStringList linesOf(const QByteArray& bytes);

// Keys and section names: letters, digits, "_", "-" and "." as they are,
// everything else as %XX of its UTF-8 bytes.
QString encodeName(const QString& name);

// The value of `key` in `section` among the file's lines, if present.
std::optional<QString> find(const QStringList& lines, const QString& section, const QString& key);

// Sets `key` in `section`, replacing the first existing line for it or adding
// one at the end of the section (a new section goes at the end of the file).
void set(QStringList& lines, const QString& section, const QString& key, const QString& value);

// How `section` stands among the file's lines: whether it is there, and the
// keys it gives more than once (each named once, in file order). A section
// written twice counts as one.
struct SectionShape {
    bool present = false;
    QStringList repeatedKeys;
};
SectionShape shapeOf(const QStringList& lines, const QString& section);

}  // namespace tallowby::ini_text
