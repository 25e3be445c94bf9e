// The shared string table as other readers see it: each SST or CONTINUE
// record decoded on its own, as python3-xlrd and Gnumeric do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/shared_strings.h"
#include "workbook/engine/biff/string_writer.h"
#include "workbook/engine/biff/workbook_io.h"

namespace tallowby::engine {
namespace {

using biff::SharedStringTable;

// Reads the strings back record by record. A character cut in two between
// records is an error here, as it is for readers that decode each record.
struct Walked {
    std::vector<std::u16string> strings;
    std::vector<std::string> errors;
};

Walked walk(const std::vector<RawRecord>& records) {
    Walked out;
    size_t r = 0, at = 8;  // past the two counts
    const auto unit = [&](bool wide) -> char16_t {
        const auto& d = records[r].data;
        if (!wide) return d[at++];
        const char16_t u = static_cast<char16_t>(d[at] | d[at + 1] << 8);
        at += 2;
        return u;
    };
    const size_t count = records[0].data[4] | records[0].data[5] << 8 | records[0].data[6] << 16 |
                         records[0].data[7] << 24;
    while (out.strings.size() < count) {
        if (at == records[r].data.size()) {  // a string header starts a CONTINUE
            ++r;
            at = 0;
        }
        if (records[r].type != biff::kSst && records[r].type != biff::kContinue) {
            out.errors.push_back("ran out of records");
            break;
        }
        const auto& d = records[r].data;
        if (at + 3 > d.size()) out.errors.push_back("a string header is split");
        size_t length = d[at] | d[at + 1] << 8;
        bool wide = d[at + 2] & 1;
        at += 3;
        std::u16string text;
        while (length > 0) {
            if (at == records[r].data.size()) {
                if (!text.empty() && text.back() >= 0xD800 && text.back() < 0xDC00)
                    out.errors.push_back("a surrogate pair is split in string " +
                                         std::to_string(out.strings.size()));
                ++r;
                wide = records[r].data[0] & 1;
                at = 1;
            }
            text += unit(wide);
            --length;
        }
        out.strings.push_back(text);
    }
    return out;
}

std::string utf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string repeat(const std::u16string& part, size_t times) {
    std::u16string out;
    for (size_t i = 0; i < times; ++i) out += part;
    return out;
}

TEST(SharedStringRecords, NoCharacterIsCutBetweenRecordsWhereverTheyFall) {
    // Leading text of every length up to a record moves the boundaries past
    // each position of the pairs, including the string's very first one.
    for (size_t lead = 0; lead < 12; ++lead) {
        const std::vector<std::u16string> texts{
            std::u16string(lead, u'a') + repeat(u"\U0001F600", 3000),
            repeat(u"\u6F22\u5B57", 3000),  // CJK, one unit each
            repeat(u"e\u0301", 2500),       // combining marks
            std::u16string(4100 + lead, u'x') + u"\U0001D11E" + repeat(u"\U0001F600", 5000),
            u"\U0001F600"};
        SharedStringTable table;
        for (const auto& t : texts) table.add(utf8(t));
        std::vector<RawRecord> records = table.records(0);
        records.pop_back();  // EXTSST
        for (const RawRecord& rec : records) ASSERT_LE(rec.data.size(), biff::kMaxRecordData);
        const Walked w = walk(records);
        EXPECT_TRUE(w.errors.empty()) << lead << ": " << w.errors.front();
        EXPECT_EQ(w.strings, texts) << lead;
    }
}

TEST(SharedStringRecords, CutsAtTheLongestCellTextFallBetweenCharacters) {
    // 32,766 single units and then a pair: keeping the pair would make 32,768.
    const std::u16string text = std::u16string(32766, u'x') + u"\U0001F600" + u"tail";
    const std::u16string combining = repeat(u"e\u0301", 20000);
    SharedStringTable table;
    table.add(utf8(text));
    table.add(utf8(combining));
    std::vector<RawRecord> records = table.records(0);
    records.pop_back();
    const Walked w = walk(records);
    ASSERT_TRUE(w.errors.empty()) << w.errors.front();
    EXPECT_EQ(w.strings[0], std::u16string(32766, u'x'));
    EXPECT_EQ(w.strings[1], combining.substr(0, 32767));

    // The same for a whole workbook, through the engine's own reader.
    Workbook wb;
    Sheet& s = wb.sheets.emplace_back();
    s.name = "\xE5\x8B\xA4\xE5\x8B\x99";  // CJK sheet name
    s.at(0, 0).value = CellValue::fromText(utf8(text));
    s.at(1, 0).value = CellValue::fromText(utf8(u"a" + repeat(u"\U0001F600", 3000)));
    const Workbook read = readWorkbook(writeWorkbook(wb));
    EXPECT_EQ(read.sheets[0].name, s.name);
    EXPECT_EQ(read.sheets[0].find(0, 0)->value.text, utf8(std::u16string(32766, u'x')));
    EXPECT_EQ(read.sheets[0].find(1, 0)->value.text, utf8(u"a" + repeat(u"\U0001F600", 3000)));

    // Short (8-bit count) strings too: 254 units and a pair give 254.
    std::vector<uint8_t> out;
    biff::appendUnicodeString(out, utf8(std::u16string(254, u'y') + u"\U0001F600"), true);
    EXPECT_EQ(out[0], 254);
}

}  // namespace
}  // namespace tallowby::engine
