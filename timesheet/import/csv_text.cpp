#include "timesheet/import/csv_text.h"

namespace tallowby::csv_text {

Detected detectEncoding(const QByteArray& start) {
    if (start.startsWith("\xEF\xBB\xBF")) return {Encoding::Utf8WithBom, 3};
    if (start.startsWith("\xFF\xFE")) return {Encoding::Utf16LittleEndian, 2};
    if (start.startsWith("\xFE\xFF")) return {Encoding::Utf16BigEndian, 2};
    return {};
}

QString encodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8:
            return QStringLiteral("UTF-8");
        case Encoding::Utf8WithBom:
            return QStringLiteral("UTF-8 with byte-order mark");
        case Encoding::Utf16LittleEndian:
            return QStringLiteral("UTF-16 little-endian");
        case Encoding::Utf16BigEndian:
            return QStringLiteral("UTF-16 big-endian");
    }
    return {};
}

QString binaryReason(const QByteArray& rawStart, const QByteArray& decodedStart) {
    if (rawStart.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return QStringLiteral(
            "it is an Excel 97-2003 workbook or another compound file, not CSV "
            "text; save it from its program as CSV");
    if (rawStart.startsWith("PK\x03\x04"))
        return QStringLiteral(
            "it is a ZIP archive (an .xlsx or .ods workbook?), not CSV text; "
            "save it from its program as CSV");
    if (rawStart.startsWith("%PDF")) return QStringLiteral("it is a PDF document, not CSV text");
    // A stray NUL or two is a damaged row, reported by line; many control
    // bytes (UTF-16 without a byte-order mark among them) are no text at all.
    qsizetype control = 0;
    for (const char c : decodedStart) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f') ++control;
    }
    if (!decodedStart.isEmpty() && control * 10 > decodedStart.size())
        return QStringLiteral(
            "it holds binary data, not CSV text (UTF-16 needs a byte-order "
            "mark: save it as \"Unicode text\" or as CSV UTF-8)");
    return {};
}

bool isValidUtf8(const char* data, std::size_t size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* end = p + size;
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned int lowestSecond = 0x80, highestSecond = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0) lowestSecond = 0xA0;   // overlong
            if (c == 0xED) highestSecond = 0x9F;  // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0) lowestSecond = 0x90;   // overlong
            if (c == 0xF4) highestSecond = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= more) return false;
        if (p[1] < lowestSecond || p[1] > highestSecond) return false;
        for (int i = 2; i <= more; ++i)
            if ((p[i] & 0xC0) != 0x80) return false;
        p += more + 1;
    }
    return true;
}

}  // namespace tallowby::csv_text
