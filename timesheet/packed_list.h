#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <utility>
#include <vector>

// The one-line text form of a list in the settings store: rows joined by "|",
// a row's fields by "^". Inside a field, "\", "|" and "^" are written as
// "\\", "\|" and "\^" so that no typed text can split or shift a row; text
// without those three characters is written exactly as it stands.
namespace tallowby::packed_list {

// Each row holds all of its list's fields, empty ones included.
QString pack(const std::vector<QStringList>& rows);

// The rows of a packed text, each with the fields it holds (which may be
// more or fewer than its list has columns). An empty part between two "|"
// (or after a trailing one) adds no row; the empty text gives no rows.
std::vector<QStringList> unpack(const QString& text);

// The same rows one at a time, without holding them all; repeated field texts
// share one string.
void forEachRow(const QString& text, const std::function<void(const QStringList&)>& take);

// The same rows from the packed text's UTF-8 bytes given piece by piece, as a
// store file is read: only the row being read is held. The pieces may split
// a row, an escape or a character anywhere.
class RowReader {
  public:
    using Take = std::function<void(const QStringList&)>;
    explicit RowReader(Take take) : take_(std::move(take)) {}

    void feed(QByteArrayView utf8);
    // The last row, when the text does not end with "|".
    void finish();

  private:
    void endRow();
    QString fieldText(qsizetype position, QByteArrayView raw, bool escaped);

    // Field texts repeat from row to row (the same days, types, hours and
    // indexes): each field position keeps the last few distinct texts it
    // saw, and a repeat shares that string instead of allocating its own.
    static constexpr size_t kRemembered = 16;
    struct Recent {
        std::array<QByteArray, kRemembered> bytes;
        std::array<QString, kRemembered> texts;
        size_t next = 0;
    };

    Take take_;
    QByteArray row_;
    bool afterEscape_ = false;  // the last byte was a backslash that may escape the next
    QStringList fields_;
    std::vector<Recent> seen_;
};

QString escapeField(const QString& field);

}  // namespace tallowby::packed_list
