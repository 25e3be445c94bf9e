// Damaged and foreign workbook streams: each gives a FileFormatError with a
// description, never a crash, a hang or a huge allocation.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/engine/file/read_error.h"
#include "tests/engine/file/sample_files.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/cfb/compound_file.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine {
namespace {

using testing::sampleBytes;

void addRecord(std::vector<uint8_t>& out, uint16_t type, std::vector<uint8_t> data) {
    ByteWriter w(out);
    w.u16(type);
    w.u16(static_cast<uint16_t>(data.size()));
    w.bytes(data);
}

std::vector<uint8_t> bof(uint16_t kind, uint16_t version = 0x0600) {
    std::vector<uint8_t> d;
    ByteWriter w(d);
    w.u16(version);
    w.u16(kind);
    w.zeros(12);
    return d;
}

std::vector<uint8_t> inContainer(std::vector<uint8_t> stream,
                                 const std::string& name = "Workbook") {
    CompoundFile f;
    f.streams.push_back({name, std::move(stream)});
    return writeCompoundFile(f);
}

// Globals with one sheet whose substream follows them; extra records are put
// into the sheet before its EOF.
std::vector<uint8_t> oneSheetStream(
    const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& cells,
    const std::vector<uint8_t>& sst = {}) {
    std::vector<uint8_t> globals;
    addRecord(globals, 0x0809, bof(0x0005));
    if (!sst.empty()) addRecord(globals, 0x00FC, sst);
    const size_t sheetField = globals.size() + 4;
    addRecord(globals, 0x0085, {0, 0, 0, 0, 0, 0, 1, 0, 'S'});
    addRecord(globals, 0x000A, {});
    poke32(globals.data() + sheetField, static_cast<uint32_t>(globals.size()));
    addRecord(globals, 0x0809, bof(0x0010));
    for (const auto& [type, data] : cells) addRecord(globals, type, data);
    addRecord(globals, 0x000A, {});
    return globals;
}

std::string errorFor(const std::vector<uint8_t>& file) {
    return testing::readErrorOf([&] { readWorkbook(file); });
}

TEST(DamagedWorkbook, AHandMadeStreamReads) {
    // The helper itself must make readable workbooks, or the cases below prove nothing.
    const Workbook wb = readWorkbook(
        inContainer(oneSheetStream({{0x0203, {1, 0, 2, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}}})));
    ASSERT_EQ(wb.sheets.size(), 1u);
    EXPECT_EQ(wb.sheets[0].find(1, 2)->value.number, 1.0);
}

TEST(DamagedWorkbook, ForeignContentsAreNamed) {
    EXPECT_NE(errorFor(inContainer({1, 2, 3}, "Other")).find("holds no Excel workbook"),
              std::string::npos);
    std::vector<uint8_t> old;
    addRecord(old, 0x0809, bof(0x0005, 0x0500));
    EXPECT_NE(errorFor(inContainer(old, "Book")).find("older than 97"), std::string::npos);
    EXPECT_NE(errorFor(inContainer(old)).find("older than 97"), std::string::npos);
    std::vector<uint8_t> encrypted;
    addRecord(encrypted, 0x0809, bof(0x0005));
    addRecord(encrypted, 0x002F, {1, 0, 1, 0});
    EXPECT_NE(errorFor(inContainer(encrypted)).find("password"), std::string::npos);
    EXPECT_NE(errorFor(inContainer({})).find("empty"), std::string::npos);
}

TEST(DamagedWorkbook, EveryTruncatedWorkbookStreamIsRefused) {
    const CompoundFile file = readCompoundFile(sampleBytes("xlwt_sample.xls"));
    const std::vector<uint8_t>& stream = file.find("Workbook")->data;
    // xlwt pads the stream; cuts in the padding after the last record lose nothing.
    size_t end = 0;
    while (end + 4 <= stream.size() && peek32(stream.data() + end) != 0)
        end += 4 + peek16(stream.data() + end + 2);
    ASSERT_GT(end, 60000u);
    for (size_t length = 0; length < end; length += 97) {
        const std::vector<uint8_t> cut(stream.begin(),
                                       stream.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_NE(errorFor(inContainer(cut)), "") << "cut at " << length;
    }
}

TEST(DamagedWorkbook, GarbledBytesGiveAnErrorOrAWorkbook) {
    const std::vector<uint8_t> original = sampleBytes("libreoffice_sample.xls");
    uint32_t state = 12345;
    auto random = [&] { return state = state * 1103515245u + 12345u; };
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> garbled = original;
        for (int k = 0; k < 1 + round % 8; ++k)
            garbled[(random() >> 8) % garbled.size()] = static_cast<uint8_t>(random() >> 16);
        try {
            const Workbook wb = readWorkbook(garbled);
            readWorkbook(writeWorkbook(wb));  // what is accepted can be written and read again
        } catch (const FileFormatError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(DamagedWorkbook, CountsBeyondTheRecordAreRefused) {
    // A merge list that claims 65535 ranges but holds one.
    EXPECT_NE(
        errorFor(inContainer(oneSheetStream({{0x00E5, {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 1, 0}}})))
            .find("MERGEDCELLS record is too short"),
        std::string::npos);
    // A shared string table that promises four billion strings holds two.
    std::vector<uint8_t> sst;
    ByteWriter w(sst);
    w.u32(0xFFFFFFFF);
    w.u32(0xFFFFFFFF);
    for (const char* s : {"ab", "cd"}) {
        w.u16(2);
        w.u8(0);
        w.u8(s[0]);
        w.u8(s[1]);
    }
    const Workbook wb =
        readWorkbook(inContainer(oneSheetStream({{0x00FD, {0, 0, 0, 0, 15, 0, 1, 0, 0, 0}}}, sst)));
    EXPECT_EQ(wb.sheets[0].find(0, 0)->value.text, "cd");
    // A string whose length runs past the table.
    std::vector<uint8_t> shortSst = sst;
    poke16(shortSst.data() + 8, 60000);
    EXPECT_NE(errorFor(inContainer(oneSheetStream({}, shortSst))).find("SST record"),
              std::string::npos);
    // A cell pointing past the strings there are.
    EXPECT_NE(
        errorFor(inContainer(oneSheetStream({{0x00FD, {0, 0, 0, 0, 15, 0, 9, 0, 0, 0}}}, sst)))
            .find("shared string that does not exist"),
        std::string::npos);
}

TEST(DamagedWorkbook, ImpossibleCellsAndRangesAreRefused) {
    EXPECT_NE(errorFor(inContainer(oneSheetStream({{0x0201, {0, 0, 0, 1, 15, 0}}}))).find("column"),
              std::string::npos);
    EXPECT_NE(errorFor(inContainer(oneSheetStream({{0x00E5, {1, 0, 5, 0, 2, 0, 0, 0, 1, 0}}})))
                  .find("impossible"),
              std::string::npos);
    EXPECT_NE(errorFor(inContainer(oneSheetStream({{0x0203, {1, 0, 2, 0}}})))
                  .find("NUMBER record is too short"),
              std::string::npos);
}

TEST(DamagedWorkbook, SheetOffsetsOutsideTheStreamAreRefused) {
    std::vector<uint8_t> stream = oneSheetStream({});
    poke32(stream.data() + 20 + 4, 0x7FFFFFF0);  // the BOUNDSHEET offset, after the 20-byte BOF
    EXPECT_NE(errorFor(inContainer(stream)).find("outside the workbook stream"), std::string::npos);
    stream = oneSheetStream({});
    poke32(stream.data() + 24, 4);  // points into the middle of the globals
    EXPECT_NE(errorFor(inContainer(stream)), "");
}

TEST(DamagedWorkbook, SheetsThatShareOrOverlapAreRefused) {
    // Many sheet entries pointing at one substream would make reading repeat it.
    std::vector<uint8_t> stream;
    addRecord(stream, 0x0809, bof(0x0005));
    std::vector<size_t> fields;
    for (int i = 0; i < 3; ++i) {
        fields.push_back(stream.size() + 4);
        addRecord(stream, 0x0085, {0, 0, 0, 0, 0, 0, 1, 0, static_cast<uint8_t>('A' + i)});
    }
    addRecord(stream, 0x000A, {});
    const auto sheetAt = static_cast<uint32_t>(stream.size());
    addRecord(stream, 0x0809, bof(0x0010));
    addRecord(stream, 0x0201, {0, 0, 0, 0, 15, 0});
    addRecord(stream, 0x000A, {});
    for (size_t f : fields) poke32(stream.data() + f, sheetAt);
    EXPECT_NE(errorFor(inContainer(stream)).find("share"), std::string::npos);
    // Entries pointing into one sheet's records: each stops where the next begins.
    poke32(stream.data() + fields[1], sheetAt + 20);
    poke32(stream.data() + fields[2], sheetAt + 30);
    EXPECT_NE(errorFor(inContainer(stream)).find("ends early"), std::string::npos);
    // Or back into the globals.
    poke32(stream.data() + fields[1], 0);
    EXPECT_NE(errorFor(inContainer(stream)).find("outside"), std::string::npos);
}

// Inputs the fuzzer found or started from, read the way the fuzz target reads them.
TEST(DamagedWorkbook, FuzzCorpusAndCrashersStayHandled) {
    const std::filesystem::path root = testing::sourcePath("fuzz/corpus/cfb_biff");
    size_t count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::vector<uint8_t> bytes = testing::readBytes(entry.path().string());
        if (bytes.empty()) continue;
        ++count;
        std::vector<uint8_t> body(bytes.begin() + 1, bytes.end());
        if (bytes[0] & 1) body = inContainer(body);
        try {
            const Workbook wb = readWorkbook(body);
            EXPECT_NO_THROW(readWorkbook(writeWorkbook(wb))) << entry.path();
        } catch (const FileFormatError&) {
        }
    }
    EXPECT_GE(count, 4u);
}

}  // namespace
}  // namespace tallowby::engine
