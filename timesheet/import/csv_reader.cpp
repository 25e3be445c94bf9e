#include "timesheet/import/csv_reader.h"

#include <csv.h>

#include <QIODevice>
#include <QStringDecoder>
#include <cstring>
#include <vector>

namespace tallowby {

namespace {

constexpr qint64 kBlockBytes = 64 * 1024;
// libcsv's parser states (csv.c keeps them private).
constexpr int kRowNotBegun = 0;
constexpr int kFieldBegun = 2;

// The separator the header line uses most, outside quotes; a comma when it
// has none (a file of one column).
char detectSeparator(const QByteArray& start) {
    qsizetype commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    bool fieldStart = true;   // a quote opens a quoted field only here...
    bool justClosed = false;  // ...or right after one closed (a doubled quote)
    for (const char c : start) {
        const bool opens = c == '"' && !quoted && (fieldStart || justClosed);
        justClosed = c == '"' && quoted;
        if (opens || justClosed) {
            quoted = opens;
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        if (quoted) continue;
        fieldStart = c == ',' || c == ';' || c == '\t';
        if (c == '\n' || c == '\r') break;
        if (c == ',') ++commas;
        if (c == ';') ++semicolons;
        if (c == '\t') ++tabs;
    }
    if (tabs > 0 && tabs >= semicolons && tabs >= commas) return '\t';
    if (semicolons > 0 && semicolons >= commas) return ';';
    return ',';
}

class Parser {
  public:
    Parser(const std::function<bool(const CsvRow&)>& onRow, CsvReadSummary& summary)
        : onRow_(onRow), summary_(summary) {
        start();
    }
    ~Parser() { csv_free(&p_); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // Feeds decoded UTF-8 text; false once reading must stop.
    bool feed(const char* data, qsizetype size) {
        qsizetype begin = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char c = data[i];
            if (c != '\n' && c != '\r') continue;
            // A CR LF pair is one line break.
            const bool breaksLine = c == '\r' || !afterCr_;
            afterCr_ = c == '\r';
            if (!feedPiece(data + begin, i + 1 - begin)) return false;
            begin = i + 1;
            if (breaksLine) ++line_;
        }
        if (begin < size) {
            afterCr_ = false;
            if (!feedPiece(data + begin, size - begin)) return false;
        }
        return true;
    }

    // The end of the file: the last row without a line break, or the quote never closed.
    bool finish() {
        if (csv_fini(&p_, &Parser::onField, &Parser::onRowEnd, this) != 0) {
            summary_.error = QStringLiteral(
                                 "line %1: the quote that opens there is never closed "
                                 "(the rest of the file would be one field)")
                                 .arg(quoteLine_);
            return false;
        }
        return !stopped_;
    }

  private:
    void start() {
        csv_init(&p_, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
        csv_set_delim(&p_, static_cast<unsigned char>(summary_.separator));
        // libcsv grows a field by one block at a time; its 128 bytes made a
        // megabyte field cost thousands of copies.
        csv_set_blk_size(&p_, 64 * 1024);
    }

    bool quoteOpen() const { return p_.pstate == kFieldBegun && p_.quoted; }

    bool feedPiece(const char* data, qsizetype size) {
        if (skipToLineEnd_) {
            // The rest of a line whose quotes libcsv refused.
            if (data[size - 1] == '\n' || data[size - 1] == '\r') skipToLineEnd_ = false;
            return true;
        }
        if (p_.pstate == kRowNotBegun) rowLine_ = line_;
        const bool wasOpen = quoteOpen();
        const qint64 fieldsBefore = fieldsSeen_;
        const auto used = csv_parse(&p_, data, static_cast<size_t>(size), &Parser::onField,
                                    &Parser::onRowEnd, this);
        if (stopped_) return false;
        if (used < static_cast<size_t>(size)) {
            if (csv_error(&p_) != CSV_EPARSE) {
                summary_.error = QStringLiteral("line %1: %2")
                                     .arg(line_)
                                     .arg(QString::fromUtf8(csv_strerror(csv_error(&p_))));
                return false;
            }
            // A quote inside an unquoted field, or text after a closing quote:
            // that row is unreadable, the next line starts afresh.
            problem_ = QStringLiteral("has a quote where no quoted field begins or ends");
            // Even a row refused at its first field is handed over, to be counted.
            if (count_ == 0) {
                if (fields_.empty()) fields_.emplace_back();
                fields_.front().clear();
                count_ = 1;
            }
            emitRow();
            if (stopped_) return false;
            csv_free(&p_);
            start();
            skipToLineEnd_ = !(data[size - 1] == '\n' || data[size - 1] == '\r');
            return true;
        }
        if (quoteOpen() && (!wasOpen || fieldsSeen_ != fieldsBefore)) quoteLine_ = line_;
        if (static_cast<qsizetype>(p_.entry_pos) > CsvReader::kLongestField) {
            summary_.error = quoteOpen()
                                 ? QStringLiteral(
                                       "line %1: the quote that opens there is not closed within "
                                       "%2 MB (the rest of the file would be one field)")
                                       .arg(quoteLine_)
                                       .arg(CsvReader::kLongestField / (1024 * 1024))
                                 : QStringLiteral("line %1: a field is longer than %2 MB")
                                       .arg(rowLine_)
                                       .arg(CsvReader::kLongestField / (1024 * 1024));
            return false;
        }
        return true;
    }

    static void onField(void* data, size_t size, void* self) {
        auto* parser = static_cast<Parser*>(self);
        ++parser->fieldsSeen_;
        if (parser->count_ >= CsvReader::kMostFields) {
            parser->problem_ =
                QStringLiteral("has more than %1 fields").arg(CsvReader::kMostFields);
            return;
        }
        if (static_cast<std::size_t>(parser->count_) == parser->fields_.size())
            parser->fields_.emplace_back();
        std::string& field = parser->fields_[static_cast<std::size_t>(parser->count_++)];
        const char* text = data ? static_cast<const char*>(data) : "";
        field.assign(text, size);
        if (!parser->problem_.isEmpty()) return;
        if (std::memchr(text, '\0', size))
            parser->problem_ = QStringLiteral("holds a NUL byte");
        else if (!csv_text::isValidUtf8(text, size))
            parser->problem_ = QStringLiteral("is not valid UTF-8");
    }

    static void onRowEnd(int, void* self) { static_cast<Parser*>(self)->emitRow(); }

    void emitRow() {
        if (stopped_) return;
        CsvRow row;
        row.line = rowLine_;
        row.fields = std::span<const std::string>(fields_.data(), static_cast<std::size_t>(count_));
        row.problem = problem_;
        ++summary_.rows;
        if (!onRow_(row)) stopped_ = true;
        count_ = 0;
        problem_.clear();
    }

    const std::function<bool(const CsvRow&)>& onRow_;
    CsvReadSummary& summary_;
    csv_parser p_{};
    std::vector<std::string> fields_;  // grows to the widest row, reused
    int count_ = 0;
    QString problem_;
    qint64 line_ = 1;
    qint64 rowLine_ = 1;
    qint64 quoteLine_ = 1;
    qint64 fieldsSeen_ = 0;
    bool afterCr_ = false;
    bool skipToLineEnd_ = false;
    bool stopped_ = false;
};

}  // namespace

CsvReadSummary CsvReader::read(QIODevice& in, const std::function<bool(const CsvRow&)>& onRow) {
    CsvReadSummary summary;
    QByteArray block = in.read(kBlockBytes);
    if (block.isEmpty()) {
        summary.error = in.errorString().isEmpty() || in.atEnd()
                            ? QStringLiteral("the file is empty")
                            : QStringLiteral("cannot read it: %1").arg(in.errorString());
        return summary;
    }
    const csv_text::Detected detected = csv_text::detectEncoding(block);
    summary.encoding = detected.encoding;
    const bool utf16 = detected.encoding == csv_text::Encoding::Utf16LittleEndian ||
                       detected.encoding == csv_text::Encoding::Utf16BigEndian;
    QStringDecoder decoder(detected.encoding == csv_text::Encoding::Utf16BigEndian
                               ? QStringDecoder::Utf16BE
                               : QStringDecoder::Utf16LE);
    const auto decode = [&](const QByteArray& bytes) {
        return utf16 ? QString(decoder(bytes)).toUtf8() : bytes;
    };
    const QByteArray raw = block;
    block.remove(0, detected.bomBytes);
    QByteArray text = decode(block);
    if (const QString why = csv_text::binaryReason(raw, text); !why.isEmpty()) {
        summary.error = why;
        return summary;
    }
    if (text.trimmed().isEmpty() && in.atEnd()) {
        summary.error = QStringLiteral("the file is empty");
        return summary;
    }
    summary.separator = detectSeparator(text);

    Parser parser(onRow, summary);
    for (;;) {
        if (!parser.feed(text.constData(), text.size())) return summary;
        if (in.atEnd()) break;
        block = in.read(kBlockBytes);
        if (block.isEmpty()) {
            if (!in.atEnd()) {
                summary.error = QStringLiteral("cannot read it: %1").arg(in.errorString());
                return summary;
            }
            break;
        }
        text = decode(block);
    }
    if (!parser.finish()) return summary;
    if (summary.rows == 0) {
        summary.error = QStringLiteral("the file is empty");
        return summary;
    }
    summary.complete = true;
    return summary;
}

}  // namespace tallowby
