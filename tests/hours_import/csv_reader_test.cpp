// The CSV reader on files written by hand: RFC 4180 fields, encodings,
// separators, blocks and the damaged files a user may pick.
#include "timesheet/import/csv_reader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QStringEncoder>
#include <cstring>

namespace {

using tallowby::CsvReader;
using tallowby::CsvReadSummary;
using tallowby::CsvRow;
using Encoding = tallowby::csv_text::Encoding;

struct Row {
    qint64 line;
    QStringList fields;
    QString problem;
};

struct Read {
    CsvReadSummary summary;
    std::vector<Row> rows;
};

Read readBytes(const QByteArray& bytes, int stopAfter = -1) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    Read read;
    read.summary = CsvReader::read(buffer, [&](const CsvRow& row) {
        QStringList fields;
        for (const std::string& f : row.fields)
            fields << QString::fromUtf8(f.data(), static_cast<qsizetype>(f.size()));
        read.rows.push_back({row.line, fields, row.problem});
        return stopAfter < 0 || static_cast<int>(read.rows.size()) < stopAfter;
    });
    return read;
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

TEST(CsvReaderTest, QuotedFieldsKeepSeparatorsDoubledQuotesAndLineBreaks) {
    const Read r = readBytes(
        "Date,Note,Hours\r\n"
        "2027-01-04,\"a, b\",1:00\r\n"
        "2027-01-05,\"say \"\"hi\"\"\",2:00\r\n"
        "2027-01-06,\"two\r\nlines\nthree\",3:00\r\n"
        "2027-01-07,,4:00");  // no break after the last line
    ASSERT_TRUE(r.summary.complete) << r.summary.error.toStdString();
    ASSERT_EQ(r.rows.size(), 5u);
    EXPECT_EQ(r.rows[1].fields, (QStringList{"2027-01-04", "a, b", "1:00"}));
    EXPECT_EQ(r.rows[2].fields[1], "say \"hi\"");
    EXPECT_EQ(r.rows[3].fields[1], "two\r\nlines\nthree");
    EXPECT_EQ(r.rows[4].fields, (QStringList{"2027-01-07", "", "4:00"}));
    // Rows are numbered by the line they start on.
    EXPECT_EQ(r.rows[3].line, 4);
    EXPECT_EQ(r.rows[4].line, 7);
}

TEST(CsvReaderTest, LineBreaksOfEveryKindCountAsOneLineAndBlankLinesAreSkipped) {
    const Read r = readBytes("a,b\n\n1,2\r\n\r\n3,4\r5,6\n");
    ASSERT_TRUE(r.summary.complete);
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.rows[1].line, 3);
    EXPECT_EQ(r.rows[2].line, 5);
    EXPECT_EQ(r.rows[3].line, 6);
    EXPECT_EQ(r.rows[3].fields, (QStringList{"5", "6"}));
}

TEST(CsvReaderTest, TheSeparatorIsTheOneTheHeaderUses) {
    const Read comma = readBytes("Date,Hours\n2027-01-04,\"1,5\"\n");
    EXPECT_EQ(comma.summary.separator, ',');
    EXPECT_EQ(comma.rows[1].fields[1], "1,5");
    // A comma inside a quoted header is not the separator.
    const Read semicolon = readBytes("\"Date, day\";Hours\n04.01.2027;1,5\n");
    EXPECT_EQ(semicolon.summary.separator, ';');
    EXPECT_EQ(semicolon.rows[1].fields, (QStringList{"04.01.2027", "1,5"}));
    // Nor is one after a doubled quote inside it, nor a semicolon after a stray quote.
    EXPECT_EQ(readBytes("\"Date \"\", day\";Hours\n").summary.separator, ';');
    EXPECT_EQ(readBytes("Da\"te;Hours\n").summary.separator, ';');
    const Read tab = readBytes("Date\tHours;h\tType\n2027-01-04\t1,5\tRegular\n");
    EXPECT_EQ(tab.summary.separator, '\t');
    EXPECT_EQ(tab.rows[1].fields.size(), 3);
    EXPECT_EQ(readBytes("Date\n2027-01-04\n").summary.separator, ',');
}

TEST(CsvReaderTest, ByteOrderMarksNameTheEncoding) {
    const QString text = QStringLiteral("Type,Hours\nÜberstunden,1:00\n");
    const Read plain = readBytes(text.toUtf8());
    EXPECT_EQ(plain.summary.encoding, Encoding::Utf8);
    const Read bom = readBytes("\xEF\xBB\xBF" + text.toUtf8());
    EXPECT_EQ(bom.summary.encoding, Encoding::Utf8WithBom);
    EXPECT_EQ(bom.rows[0].fields[0], "Type");  // the mark is no part of the header
    const Read le = readBytes(utf16(text, QStringConverter::Utf16LE));
    EXPECT_EQ(le.summary.encoding, Encoding::Utf16LittleEndian);
    const Read be = readBytes(utf16(text, QStringConverter::Utf16BE));
    EXPECT_EQ(be.summary.encoding, Encoding::Utf16BigEndian);
    for (const Read* r : {&plain, &bom, &le, &be}) {
        ASSERT_EQ(r->rows.size(), 2u);
        EXPECT_EQ(r->rows[1].fields, (QStringList{"Überstunden", "1:00"}));
    }
}

TEST(CsvReaderTest, RowsAcrossBlockBoundariesKeepTheirFieldsAndLines) {
    // Rows of varied length, some quoted over two lines, CRLF breaks, so
    // that block ends fall inside fields, quotes and CR LF pairs.
    QByteArray bytes = "Date,Note\r\n";
    qint64 line = 2;
    std::vector<qint64> expectedLines;
    for (int i = 0; i < 9000; ++i) {
        expectedLines.push_back(line);
        if (i % 7 == 0) {
            bytes += QByteArray::number(i) + ",\"x" + QByteArray(i % 13, 'y') + "\r\nz\"\"q\"\r\n";
            line += 2;
        } else {
            bytes += QByteArray::number(i) + "," + QByteArray(i % 17, 'n') + "\r\n";
            line += 1;
        }
    }
    ASSERT_GT(bytes.size(), 2 * 64 * 1024);
    const Read r = readBytes(bytes);
    ASSERT_TRUE(r.summary.complete) << r.summary.error.toStdString();
    ASSERT_EQ(r.rows.size(), 9001u);
    for (int i = 0; i < 9000; ++i) {
        const Row& row = r.rows[static_cast<std::size_t>(i + 1)];
        ASSERT_EQ(row.line, expectedLines[static_cast<std::size_t>(i)]) << i;
        ASSERT_EQ(row.fields[0], QString::number(i));
        const QString note =
            i % 7 == 0 ? "x" + QString(i % 13, 'y') + "\r\nz\"q" : QString(i % 17, 'n');
        ASSERT_EQ(row.fields[1], note) << i;
    }
}

TEST(CsvReaderTest, ReadingStopsWhenAskedTo) {
    const Read r = readBytes("a\n1\n2\n3\n", 2);
    EXPECT_EQ(r.rows.size(), 2u);
    EXPECT_FALSE(r.summary.complete);
    EXPECT_TRUE(r.summary.error.isEmpty());
}

TEST(CsvReaderTest, FilesWithoutRowsOrWithoutTextAreRefusedWithAReason) {
    EXPECT_EQ(readBytes("").summary.error, "the file is empty");
    EXPECT_EQ(readBytes("\xEF\xBB\xBF").summary.error, "the file is empty");
    EXPECT_EQ(readBytes("\n\r\n\n").summary.error, "the file is empty");
    EXPECT_TRUE(readBytes(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0'))
                    .summary.error.contains("Excel 97-2003 workbook"));
    EXPECT_TRUE(readBytes(QByteArray("PK\x03\x04", 4) + QByteArray(100, '\x01'))
                    .summary.error.contains("ZIP archive"));
    QByteArray noise;
    for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 37 + 11) % 256);
    const Read binary = readBytes(noise);
    EXPECT_TRUE(binary.summary.error.contains("binary data")) << binary.summary.error.toStdString();
    EXPECT_TRUE(binary.rows.empty());
    // UTF-16 without its mark is mostly NUL bytes.
    QStringEncoder le(QStringConverter::Utf16LE);
    const QByteArray unmarked = le(QStringLiteral("Date,Hours\n2027-01-04,1:00\n"));
    EXPECT_TRUE(readBytes(unmarked).summary.error.contains("byte-order mark"));
}

TEST(CsvReaderTest, AQuoteNeverClosedIsReportedOnTheLineItOpens) {
    const Read r = readBytes(
        "Date,Note\n2027-01-04,ok\n2027-01-05,\"open\n2027-01-06,more\n"
        "2027-01-07,end\n");
    EXPECT_FALSE(r.summary.complete);
    EXPECT_EQ(r.summary.error.toStdString(),
              "line 3: the quote that opens there is never closed (the rest of the file would be "
              "one field)");
    EXPECT_EQ(r.rows.size(), 2u);  // the rows before it were handed over
    // A quoted field that closes and a second one that opens later on the same line.
    const Read second = readBytes("a,b\n\"x\ny\",\"z\n1,2\n");
    EXPECT_TRUE(second.summary.error.startsWith("line 3:")) << second.summary.error.toStdString();
}

TEST(CsvReaderTest, AnOpenQuoteThatSwallowsMegabytesStopsAtTheLimit) {
    QByteArray bytes = "Date,Note\n2027-01-04,\"open\n";
    const QByteArray filler(100, 'x');
    while (bytes.size() < CsvReader::kLongestField + 200 * 1024) bytes += filler + "\n";
    const Read r = readBytes(bytes);
    EXPECT_TRUE(
        r.summary.error.startsWith("line 2: the quote that opens there is not closed "
                                   "within 8 MB"))
        << r.summary.error.toStdString();
}

TEST(CsvReaderTest, AMegabyteFieldIsReadWhole) {
    const QByteArray big(1024 * 1024, 'n');
    const Read r =
        readBytes("Date,Note,Hours\n2027-01-04,\"" + big + "\",1:00\n2027-01-05,,2:00\n");
    ASSERT_TRUE(r.summary.complete) << r.summary.error.toStdString();
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[1].fields[1].size(), big.size());
    EXPECT_EQ(r.rows[2].line, 3);
}

TEST(CsvReaderTest, DamagedRowsAreMarkedAndTheRestIsRead) {
    QByteArray bytes = "Date,Type\n2027-01-04,Re";
    bytes += '\0';
    bytes +=
        "gular\n"
        "2027-01-05,Over\xFFtime\n"
        "2027-01-06,ab\"c\n"
        "2027-01-07,\"ok\"x\n"
        "2027-01-08,\xC3\xA9t\xC3\xA9\n";
    const Read r = readBytes(bytes);
    ASSERT_TRUE(r.summary.complete) << r.summary.error.toStdString();
    ASSERT_EQ(r.rows.size(), 6u);
    EXPECT_EQ(r.rows[1].problem, "holds a NUL byte");
    EXPECT_EQ(r.rows[2].problem, "is not valid UTF-8");
    EXPECT_EQ(r.rows[2].line, 3);
    EXPECT_TRUE(r.rows[3].problem.contains("quote")) << r.rows[3].problem.toStdString();
    EXPECT_EQ(r.rows[3].line, 4);
    EXPECT_TRUE(r.rows[4].problem.contains("quote"));
    EXPECT_EQ(r.rows[4].line, 5);
    EXPECT_TRUE(r.rows[5].problem.isEmpty());
    EXPECT_EQ(r.rows[5].line, 6);
    EXPECT_EQ(r.rows[5].fields[1], "été");
}

TEST(CsvReaderTest, AStrayQuoteInTheFirstFieldStillGivesARowToCount) {
    // Found by the fuzz target: the row refused at its first field had no field at all.
    const Read header = readBytes("Da\"te;Hours\n2027-01-04;1\n");
    ASSERT_EQ(header.rows.size(), 2u);
    EXPECT_EQ(header.rows[0].fields, QStringList{""});
    EXPECT_EQ(header.rows[0].problem, "has a quote where no quoted field begins or ends");
    EXPECT_EQ(header.rows[1].fields, (QStringList{"2027-01-04", "1"}));
    const Read row = readBytes("Date,Hours\n\"a\"b,1\n2027-01-05,2\n");
    ASSERT_EQ(row.rows.size(), 3u);
    EXPECT_EQ(row.rows[1].line, 2);
    EXPECT_FALSE(row.rows[1].problem.isEmpty());
    EXPECT_EQ(row.rows[2].line, 3);
}

TEST(CsvReaderTest, Utf8ChecksRejectOverlongSurrogateAndTruncatedForms) {
    using tallowby::csv_text::isValidUtf8;
    const auto valid = [](const char* s) { return isValidUtf8(s, std::strlen(s)); };
    EXPECT_TRUE(valid("plain"));
    EXPECT_TRUE(valid("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));  // é € emoji
    EXPECT_FALSE(valid("\xC0\xAF"));                             // overlong /
    EXPECT_FALSE(valid("\xE0\x80\xAF"));                         // overlong
    EXPECT_FALSE(valid("\xED\xA0\x80"));                         // surrogate
    EXPECT_FALSE(valid("\xF4\x90\x80\x80"));                     // above U+10FFFF
    EXPECT_FALSE(valid("\xE2\x82"));                             // cut short
    EXPECT_FALSE(valid("\x80"));
}

}  // namespace
