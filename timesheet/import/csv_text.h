#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>

// What the bytes of a CSV file are before any field is split: the encoding
// its start gives away, whether it is text at all, and UTF-8 checks.
namespace tallowby::csv_text {

enum class Encoding { Utf8, Utf8WithBom, Utf16LittleEndian, Utf16BigEndian };

// The encoding its byte-order mark names (UTF-8 without one), and how many
// bytes that mark takes.
struct Detected {
    Encoding encoding = Encoding::Utf8;
    int bomBytes = 0;
};
Detected detectEncoding(const QByteArray& start);

QString encodingName(Encoding encoding);

// Why the file's first bytes (after any byte-order mark, decoded to UTF-8) are
// no text a tracker exports, or empty when they may well be: a workbook or
// archive signature, or mostly control bytes.
QString binaryReason(const QByteArray& rawStart, const QByteArray& decodedStart);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(const char* data, std::size_t size);

}  // namespace tallowby::csv_text
