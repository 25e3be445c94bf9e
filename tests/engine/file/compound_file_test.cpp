// The compound-file container: what the writer lays out, that the reader
// gets every stream back, and that damaged containers are refused in words.
#include "workbook/engine/cfb/compound_file.h"

#include <gtest/gtest.h>

#include "tests/engine/file/read_error.h"
#include "workbook/engine/cfb/file_format_error.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine {
namespace {

std::vector<uint8_t> pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> v(size);
    for (size_t i = 0; i < size; ++i) v[i] = static_cast<uint8_t>(seed + i * 7 + i / 251);
    return v;
}

CompoundFile sampleFile() {
    CompoundFile f;
    f.rootClsid[0] = 0x20;
    f.rootClsid[15] = 0x46;
    f.streams.push_back({"Workbook", pattern(9000, 1)});
    f.streams.push_back({"\x05SummaryInformation", pattern(300, 2)});
    f.streams.push_back(
        {"\x05"
         "DocumentSummaryInformation",
         pattern(4095, 3)});
    f.streams.push_back({"Storage/Inner", pattern(64, 4)});
    f.streams.push_back({"Storage/Empty", {}});
    return f;
}

uint32_t header32(const std::vector<uint8_t>& b, size_t offset) {
    return peek32(b.data() + offset);
}
uint8_t* sectorAt(std::vector<uint8_t>& b, uint32_t sector) {
    return b.data() + 512 * (size_t{sector} + 1);
}
uint8_t* directoryEntry(std::vector<uint8_t>& b, size_t index) {
    return sectorAt(b, header32(b, 0x30)) + 128 * index;
}
uint8_t* fatEntry(std::vector<uint8_t>& b, uint32_t sector) {
    return sectorAt(b, header32(b, 0x4C)) + 4 * sector;
}

std::string errorFor(const std::vector<uint8_t>& bytes) {
    return testing::readErrorOf([&] { readCompoundFile(bytes); });
}

TEST(CompoundFile, StreamsComeBackAsWritten) {
    const CompoundFile original = sampleFile();
    const std::vector<uint8_t> bytes = writeCompoundFile(original);
    const CompoundFile read = readCompoundFile(bytes);
    EXPECT_EQ(read.rootClsid, original.rootClsid);
    ASSERT_EQ(read.streams.size(), original.streams.size());
    for (const CompoundStream& s : original.streams) {
        const CompoundStream* r = read.find(s.path);
        ASSERT_NE(r, nullptr) << s.path;
        EXPECT_EQ(r->data, s.data) << s.path;
    }
    EXPECT_NE(read.find("WORKBOOK"), nullptr);  // names match regardless of case
}

TEST(CompoundFile, HeaderAndPlacementFollowVersionThree) {
    const std::vector<uint8_t> b = writeCompoundFile(sampleFile());
    EXPECT_EQ(b.size() % 512, 0u);
    EXPECT_EQ(peek16(b.data() + 0x1A), 3);
    EXPECT_EQ(peek16(b.data() + 0x1E), 9);
    EXPECT_EQ(header32(b, 0x38), 4096u);
    // Only the 9000-byte workbook stream is big enough for ordinary sectors:
    // it starts at sector 0; the small ones live in the mini stream.
    std::vector<uint8_t> copy = b;
    EXPECT_EQ(peek32(directoryEntry(copy, 1) + 116), 0u);
    EXPECT_EQ(peek32(directoryEntry(copy, 1) + 120), 9000u);
    const uint8_t* root = directoryEntry(copy, 0);
    EXPECT_EQ(root[66], 5);
    EXPECT_EQ(peek32(root + 120), (300u / 64 + 1 + 4095 / 64 + 1 + 1) * 64);  // mini stream size
    EXPECT_GE(header32(b, 0x40), 1u);  // mini allocation table sectors
    // The allocation table marks its own sector.
    const uint32_t fatSector = header32(b, 0x4C);
    EXPECT_EQ(peek32(fatEntry(copy, fatSector)), 0xFFFFFFFDu);
}

TEST(CompoundFile, ManyStreamsMakeAValidSortedTree) {
    CompoundFile f;
    for (int i = 0; i < 40; ++i)
        f.streams.push_back({"S" + std::to_string(i * 37 % 101), pattern(10 + i, 9)});
    const CompoundFile read = readCompoundFile(writeCompoundFile(f));
    EXPECT_EQ(read.streams.size(), 40u);
}

TEST(CompoundFile, LargeFilesUseExtraSectorListSectors) {
    // More than 109 allocation table sectors: the list continues in its own sectors.
    CompoundFile f;
    f.streams.push_back({"Workbook", pattern(7'500'000, 5)});
    const std::vector<uint8_t> bytes = writeCompoundFile(f);
    EXPECT_GE(header32(bytes, 0x48), 1u);
    EXPECT_EQ(readCompoundFile(bytes).streams.at(0).data, f.streams[0].data);
}

TEST(CompoundFile, BadNamesCannotBeWritten) {
    CompoundFile f;
    f.streams.push_back({std::string(32, 'x'), {}});
    EXPECT_THROW(writeCompoundFile(f), FileFormatError);
    f.streams = {{"Same", {}}, {"same", {}}};
    EXPECT_THROW(writeCompoundFile(f), FileFormatError);
}

TEST(DamagedCompoundFile, EmptyShortAndForeignInputIsRefused) {
    EXPECT_EQ(errorFor({}), "The workbook file is empty.");
    EXPECT_NE(errorFor(std::vector<uint8_t>(100, 0xD0)).find("too short"), std::string::npos);
    EXPECT_NE(errorFor(std::vector<uint8_t>(4096, 'A')).find("not an Excel 97-2003 workbook"),
              std::string::npos);
}

TEST(DamagedCompoundFile, EveryTruncationIsRefusedOrReadInFull) {
    const std::vector<uint8_t> whole = writeCompoundFile(sampleFile());
    for (size_t length = 0; length < whole.size(); length += 61) {
        std::vector<uint8_t> cut(whole.begin(),
                                 whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_NE(errorFor(cut), "") << "cut at " << length;
    }
}

TEST(DamagedCompoundFile, ChainsThatLoopOrOverlapAreRefused) {
    std::vector<uint8_t> b = writeCompoundFile(sampleFile());
    // The workbook stream takes sectors 0..17; let sector 5 lead back to 2.
    poke32(fatEntry(b, 5), 2);
    EXPECT_NE(errorFor(b).find("used twice"), std::string::npos) << errorFor(b);

    b = writeCompoundFile(sampleFile());
    poke32(fatEntry(b, 17), 0x12345678);  // points far outside the file
    EXPECT_NE(errorFor(b).find("broken"), std::string::npos) << errorFor(b);

    b = writeCompoundFile(sampleFile());
    poke32(directoryEntry(b, 2) + 116, 0);  // a mini stream's start inside another's chain
    poke32(directoryEntry(b, 3) + 116, 0);
    EXPECT_NE(errorFor(b), "");
}

TEST(DamagedCompoundFile, DirectoryLoopsAndBadLinksAreRefused) {
    std::vector<uint8_t> b = writeCompoundFile(sampleFile());
    const uint32_t top = peek32(directoryEntry(b, 0) + 76);
    poke32(directoryEntry(b, top) + 68, top);  // an entry that is its own left sibling
    EXPECT_NE(errorFor(b).find("loops"), std::string::npos) << errorFor(b);

    b = writeCompoundFile(sampleFile());
    poke32(directoryEntry(b, 0) + 76, 9999);
    EXPECT_NE(errorFor(b).find("outside the directory"), std::string::npos) << errorFor(b);

    b = writeCompoundFile(sampleFile());
    directoryEntry(b, 0)[66] = 1;  // root entry that is not a root
    EXPECT_NE(errorFor(b).find("root"), std::string::npos) << errorFor(b);
}

TEST(DamagedCompoundFile, HugeCountsAndSizesAreRefusedWithoutAllocating) {
    std::vector<uint8_t> b = writeCompoundFile(sampleFile());
    poke32(b.data() + 0x2C, 0x7FFFFFFF);  // allocation table sectors
    EXPECT_NE(errorFor(b).find("does not fit"), std::string::npos) << errorFor(b);

    b = writeCompoundFile(sampleFile());
    poke32(b.data() + 0x48, 0xFFFFFFF0);  // sector list sectors
    EXPECT_NE(errorFor(b), "");

    b = writeCompoundFile(sampleFile());
    poke32(directoryEntry(b, 1) + 120, 0xFFFFFFF0);  // a 4 GB stream in a small file
    EXPECT_NE(errorFor(b).find("larger than the file"), std::string::npos) << errorFor(b);

    b = writeCompoundFile(sampleFile());
    poke32(directoryEntry(b, 1) + 120, 9300);  // more than its 18 sectors hold
    EXPECT_NE(errorFor(b).find("shorter than its stated size"), std::string::npos) << errorFor(b);

    b = writeCompoundFile(sampleFile());
    poke16(directoryEntry(b, 1) + 64, 200);  // name longer than its field
    EXPECT_NE(errorFor(b).find("name length"), std::string::npos) << errorFor(b);
}

TEST(DamagedCompoundFile, UnsupportedVersionsAreNamed) {
    std::vector<uint8_t> b = writeCompoundFile(sampleFile());
    poke16(b.data() + 0x1E, 10);
    EXPECT_NE(errorFor(b).find("version"), std::string::npos);
    b = writeCompoundFile(sampleFile());
    poke16(b.data() + 0x1C, 0xFEFF);
    EXPECT_NE(errorFor(b).find("byte order"), std::string::npos);
}

// Writes `name` (UTF-16 units) into directory entry `index`.
void rename(std::vector<uint8_t>& b, size_t index, const std::u16string& name) {
    uint8_t* e = directoryEntry(b, index);
    std::fill(e, e + 64, 0);
    for (size_t k = 0; k < name.size(); ++k) poke16(e + 2 * k, name[k]);
    poke16(e + 64, static_cast<uint16_t>(2 * (name.size() + 1)));
}

TEST(DamagedCompoundFile, NamesTheWriterCouldNotWriteBackAreRefused) {
    // Entries in the order the writer made them: 1 Workbook, 2 and 3 the
    // summaries, 4 Storage, 5 Storage/Inner, 6 Storage/Empty.
    const struct {
        size_t index;
        std::u16string name;
        const char* why;
    } cases[] = {
        {1, u"", "has no name"}, {1, u"Wo/kbook", "\"/\""},
        {5, u"/", "\"/\""},      {2, u"WORKBOOK", "twice"},  // the same name in another case
        {6, u"inner", "twice"},                              // inside a storage too
        {2, u"\xD800x", ""},                                 // a lone surrogate alone is fine
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> b = writeCompoundFile(sampleFile());
        rename(b, c.index, c.name);
        const std::string error = errorFor(b);
        if (*c.why == 0) {
            EXPECT_EQ(error, "");
            // Whatever is read can be written back and reads the same.
            const CompoundFile read = readCompoundFile(b);
            const CompoundFile again = readCompoundFile(writeCompoundFile(read));
            ASSERT_EQ(again.streams.size(), read.streams.size());
            for (size_t k = 0; k < read.streams.size(); ++k)
                EXPECT_EQ(again.streams[k].path, read.streams[k].path);
            continue;
        }
        EXPECT_NE(error.find(c.why), std::string::npos) << c.index << ": " << error;
        EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    }
    // Two lone surrogates that both become U+FFFD would be one name when written.
    std::vector<uint8_t> b = writeCompoundFile(sampleFile());
    rename(b, 2, u"\xD800");
    rename(b, 3, u"\xDC00");
    EXPECT_NE(errorFor(b).find("twice"), std::string::npos) << errorFor(b);
}

}  // namespace
}  // namespace tallowby::engine
