// Page setup records: read into the model, written back as read, changed
// where the model changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/engine/file/sample_files.h"
#include "workbook/engine/biff/page_setup_records.h"
#include "workbook/engine/biff/workbook_io.h"

namespace tallowby::engine {
namespace {

bool isPageSetupRecord(uint16_t type) {
    switch (type) {
        case 0x14:  // HEADER
        case 0x15:  // FOOTER
        case 0x1A:  // VERTICALPAGEBREAKS
        case 0x1B:  // HORIZONTALPAGEBREAKS
        case 0x26:  // LEFTMARGIN
        case 0x27:
        case 0x28:
        case 0x29:
        case 0x81:  // WSBOOL
        case 0x83:  // HCENTER
        case 0x84:  // VCENTER
        case 0xA1:  // SETUP
            return true;
        default:
            return false;
    }
}

std::vector<RawRecord> pageSetupRecords(const Sheet& sheet) {
    std::vector<RawRecord> out;
    for (const RawRecord& r : sheet.recordsBeforeCells)
        if (isPageSetupRecord(r.type) || r.type == 0x4D) out.push_back(r);
    return out;
}

std::vector<uint8_t> le(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> out;
    for (uint16_t w : words) {
        out.push_back(static_cast<uint8_t>(w));
        out.push_back(static_cast<uint8_t>(w >> 8));
    }
    return out;
}

std::vector<uint8_t> inches(double v) {
    std::vector<uint8_t> out(8);
    std::memcpy(out.data(), &v, 8);
    return out;
}

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A header stored with 16-bit characters although they would fit in 8: a
// writer may do so, and the bytes must survive.
std::vector<uint8_t> wideString(const std::u16string& text) {
    std::vector<uint8_t> out = le({static_cast<uint16_t>(text.size())});
    out.push_back(0x01);
    for (char16_t c : text) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
    return out;
}

// The records as a spreadsheet program writes them, a printer-settings
// record (PLS, not interpreted) among them.
std::vector<RawRecord> programsPageSetup() {
    return {
        {0x81, le({0x05C1})},
        {0x1B, le({2, 10, 0, 255, 20, 0, 255})},
        {0x1A, le({1, 3, 0, 65535})},
        {0x14, wideString(u"&L&F&C&A&RPage &P of &N")},
        {0x15, join({le({7}), {0x00}, {'&', 'D', ' ', '&', 'T', '&', '&'}})},
        {0x83, le({1})},
        {0x84, le({0})},
        {0x26, inches(0.4)},
        {0x27, inches(0.6)},
        {0x28, inches(0.7)},
        {0x29, inches(0.8)},
        {0x4D, {0x00, 0x00, 0x11, 0x22}},
        {0xA1, join({le({9, 80, 1, 1, 0, 0x0000, 600, 600}), inches(0.3), inches(0.35), le({2})})},
    };
}

Workbook bookWith(std::vector<RawRecord> before) {
    Workbook wb;
    wb.fonts.push_back(Font{});
    Sheet& s = wb.sheets.emplace_back();
    s.name = "Sheet1";
    s.at(0, 0).value = CellValue::fromText("x");
    s.recordsBeforeCells = std::move(before);
    // As the reader leaves a sheet: the records and the model that reads them.
    s.pageSetup = biff::readPageSetup(s.recordsBeforeCells);
    return wb;
}

Workbook throughFile(const Workbook& wb) {
    const std::vector<uint8_t> bytes = writeWorkbook(wb);
    return readWorkbook(bytes);
}

TEST(PageSetupRecords, ReadIntoTheModel) {
    const Workbook read = throughFile(bookWith(programsPageSetup()));
    const PageSetup& p = read.sheets[0].pageSetup;
    ASSERT_TRUE(p.setup);
    EXPECT_EQ(p.setup->paperSize, 9);
    EXPECT_EQ(p.setup->scalePercent, 80);
    EXPECT_EQ(p.setup->fitWidthPages, 1);
    EXPECT_EQ(p.setup->fitHeightPages, 0);
    EXPECT_FALSE(p.setup->portrait());
    EXPECT_EQ(p.setup->printDpi, 600);
    EXPECT_DOUBLE_EQ(p.setup->headerMarginInches, 0.3);
    EXPECT_DOUBLE_EQ(p.setup->footerMarginInches, 0.35);
    EXPECT_EQ(p.setup->copies, 2);
    EXPECT_TRUE(p.fitToPages());
    EXPECT_DOUBLE_EQ(p.left(), 0.4);
    EXPECT_DOUBLE_EQ(p.right(), 0.6);
    EXPECT_DOUBLE_EQ(p.top(), 0.7);
    EXPECT_DOUBLE_EQ(p.bottom(), 0.8);
    EXPECT_EQ(p.centreHorizontally, true);
    EXPECT_EQ(p.centreVertically, false);
    EXPECT_EQ(p.header, "&L&F&C&A&RPage &P of &N");
    EXPECT_EQ(p.footer, "&D &T&&");
    ASSERT_TRUE(p.rowBreaks);
    EXPECT_EQ(*p.rowBreaks, (std::vector<PageBreak>{{10, 0, 255}, {20, 0, 255}}));
    ASSERT_TRUE(p.columnBreaks);
    EXPECT_EQ(*p.columnBreaks, (std::vector<PageBreak>{{3, 0, 65535}}));
}

TEST(PageSetupRecords, WrittenBackByteForByteInTheirOrder) {
    const Workbook once = throughFile(bookWith(programsPageSetup()));
    EXPECT_EQ(pageSetupRecords(once.sheets[0]), programsPageSetup());
    const Workbook twice = throughFile(once);
    EXPECT_EQ(pageSetupRecords(twice.sheets[0]), programsPageSetup());
    EXPECT_EQ(twice.sheets[0].pageSetup, once.sheets[0].pageSetup);
}

TEST(PageSetupRecords, TheTemplatesRecordsSurviveAReadAndWrite) {
    const Workbook original = readWorkbook(testing::sampleBytes("../../../resources/template.xlt"));
    const Workbook copy = throughFile(original);
    const auto records = pageSetupRecords(original.sheets[0]);
    EXPECT_GE(records.size(), 8u);
    EXPECT_EQ(pageSetupRecords(copy.sheets[0]), records);
}

TEST(PageSetupRecords, TheTemplatePrintsOnePortraitPageWideCentredAcross) {
    const Workbook book = readWorkbook(testing::sampleBytes("../../../resources/template.xlt"));
    const PageSetup& p = book.sheets[0].pageSetup;
    ASSERT_TRUE(p.setup);
    EXPECT_EQ(p.setup->paperSize, 1);  // Letter
    EXPECT_TRUE(p.setup->portrait());
    EXPECT_FALSE(p.setup->unset());
    EXPECT_TRUE(p.fitToPages());
    EXPECT_EQ(p.setup->fitWidthPages, 1);
    EXPECT_EQ(p.setup->fitHeightPages, 0);
    EXPECT_EQ(p.centreHorizontally, true);
    EXPECT_NE(p.centreVertically, true);
    for (double margin : {p.left(), p.right(), p.top(), p.bottom()}) EXPECT_DOUBLE_EQ(margin, 0.5);
    EXPECT_EQ(p.header.value_or(""), "");
    EXPECT_EQ(p.footer.value_or(""), "");
}

TEST(PageSetupRecords, AChangedValueIsReencodedInPlaceAndTheRestKept) {
    Workbook wb = throughFile(bookWith(programsPageSetup()));
    PageSetup& p = wb.sheets[0].pageSetup;
    p.leftMarginInches = 0.25;
    p.setup->fitHeightPages = 1;
    p.header = "&CWeek";
    const Workbook changed = throughFile(wb);

    std::vector<RawRecord> expected = programsPageSetup();
    expected[3].data = join({le({6}), {0x00}, {'&', 'C', 'W', 'e', 'e', 'k'}});
    expected[7].data = inches(0.25);
    expected[12].data[8] = 1;  // fit height
    EXPECT_EQ(pageSetupRecords(changed.sheets[0]), expected);
    EXPECT_EQ(changed.sheets[0].pageSetup, p);
}

TEST(PageSetupRecords, ASheetWithoutThemGetsThemInTheUsualOrderAndLosesThemAgain) {
    Workbook wb = bookWith({});
    PageSetup& p = wb.sheets[0].pageSetup;
    p.setup = PrintSetup{};
    p.setup->paperSize = 1;
    p.centreHorizontally = true;
    p.bottomMarginInches = 0.9;
    p.sheetOptions = 0x05C1;
    p.footer = "";
    const Workbook added = throughFile(wb);
    EXPECT_EQ(added.sheets[0].pageSetup, p);
    std::vector<uint16_t> types;
    for (const RawRecord& r : pageSetupRecords(added.sheets[0])) types.push_back(r.type);
    EXPECT_EQ(types, (std::vector<uint16_t>{0x81, 0x15, 0x83, 0x29, 0xA1}));
    EXPECT_TRUE(pageSetupRecords(added.sheets[0])[1].data.empty());  // an empty footer

    Workbook again = added;
    again.sheets[0].pageSetup.footer.reset();
    again.sheets[0].pageSetup.bottomMarginInches.reset();
    types.clear();
    for (const RawRecord& r : pageSetupRecords(throughFile(again).sheets[0]))
        types.push_back(r.type);
    EXPECT_EQ(types, (std::vector<uint16_t>{0x81, 0x83, 0xA1}));
}

TEST(PageSetupRecords, ARecordTooShortToReadIsKeptAsItIs) {
    std::vector<RawRecord> damaged = {{0xA1, {0x09, 0x00, 0x50}}, {0x26, {0x01, 0x02}}};
    const Workbook read = throughFile(bookWith(damaged));
    EXPECT_FALSE(read.sheets[0].pageSetup.setup);
    EXPECT_FALSE(read.sheets[0].pageSetup.leftMarginInches);
    EXPECT_DOUBLE_EQ(read.sheets[0].pageSetup.left(), 0.75);  // the default
    EXPECT_EQ(pageSetupRecords(read.sheets[0]), damaged);
}

TEST(PageSetupRecords, MarginsDefaultAsSpreadsheetProgramsTakeThem) {
    const PageSetup none;
    EXPECT_DOUBLE_EQ(none.left(), 0.75);
    EXPECT_DOUBLE_EQ(none.right(), 0.75);
    EXPECT_DOUBLE_EQ(none.top(), 1.0);
    EXPECT_DOUBLE_EQ(none.bottom(), 1.0);
    EXPECT_FALSE(none.fitToPages());
}

}  // namespace
}  // namespace tallowby::engine
