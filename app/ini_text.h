#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <functional>
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

// The same, from the value's UTF-8 bytes to the decoded text's UTF-8 bytes,
// handed to `take` in pieces of at most `pieceSize` bytes: a value of tens of
// megabytes is never held decoded. The escapes and quotes are ASCII, so the
// pieces join to exactly decodeValue's text.
void decodeValueInPieces(QByteArrayView raw, const std::function<void(QByteArrayView)>& take,
                         qsizetype pieceSize = 64 * 1024);
// A file's bytes read a block at a time, checked as they come for being INI
// text the program wrote or could have written; only the lines are kept,
// never the whole file a second time, decoded or split.
class LineReader {
  public:
    void add(const char* data, qsizetype size);
    // Why the text is not one we could have written (worded for the user),
    // or nothing when it is; then take() gives its lines (a UTF-8 byte order
    // mark and CR LF ends dropped).
    std::optional<QString> finish();
    QByteArrayList take() { return std::move(lines_); }

  private:
    void endLine(bool ended);

    QStringDecoder decoder_{QStringDecoder::Utf8};
    QByteArray current_;
    QByteArrayList lines_;
    int number_ = 0;
    int firstStrangeLine_ = 0;
    bool utf16_ = false;
    bool nul_ = false;
    bool bareCarriageReturn_ = false;
};

// Why a file's bytes are not INI text the program wrote or could have
// written (UTF-16, NUL bytes, not UTF-8, bare carriage returns, a line that
// is no INI line), worded for the user; nothing when they are.
std::optional<QString> whyNotIniText(const QByteArray& bytes);

// The lines of INI text (a UTF-8 byte order mark and CR LF ends dropped).
QByteArrayList linesOf(const QByteArray& bytes);

// Keys and section names: letters, digits, "_", "-" and "." as they are,
// everything else as %XX of its UTF-8 bytes.
QString encodeName(const QString& name);

// The file's lines are its UTF-8 text split at line ends (no "\n" or
// trailing "\r" kept): a big file is held once, in its own encoding.

// The value of `key` in `section` among the file's lines, if present.
std::optional<QString> find(const QByteArrayList& lines, const QString& section,
                            const QString& key);

// The same value still encoded, as the line holds it (a view into that line).
std::optional<QByteArrayView> findRaw(const QByteArrayList& lines, const QString& section,
                                      const QString& key);

// Sets `key` in `section`, replacing the first existing line for it or adding
// one at the end of the section (a new section goes at the end of the file).
void set(QByteArrayList& lines, const QString& section, const QString& key, const QString& value);

// How `section` stands among the file's lines: whether it is there, and the
// keys it gives more than once (each named once, in file order). A section
// written twice counts as one.
struct SectionShape {
    bool present = false;
    QStringList repeatedKeys;
};
SectionShape shapeOf(const QByteArrayList& lines, const QString& section);

}  // namespace tallowby::ini_text
