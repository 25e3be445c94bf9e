// Workbooks written by other programs: what the reader finds in them, and
// that writing them back and reading again gives the same model.
#include <gtest/gtest.h>

#include "tests/engine/file/model_comparison.h"
#include "tests/engine/file/sample_files.h"
#include "workbook/engine/biff/workbook_io.h"

namespace tallowby::engine {
namespace {

using testing::expectSameWorkbook;
using testing::sampleBytes;

const Sheet& sheetNamed(const Workbook& wb, const std::string& name) {
    for (const Sheet& s : wb.sheets)
        if (s.name == name) return s;
    throw std::runtime_error("no sheet " + name);
}

double number(const Sheet& s, uint16_t row, uint16_t col) {
    const Cell* c = s.find(row, col);
    if (!c || c->value.type != CellValue::Type::Number) return -1e300;
    return c->value.number;
}

std::string text(const Sheet& s, uint16_t row, uint16_t col) {
    const Cell* c = s.find(row, col);
    return c ? c->value.text : "<none>";
}

// What make_samples.py puts in the 1500 shared strings.
std::string expectedWord(int i) {
    if (i % 7 == 0)
        return "Stra\xC3\x9F"
               "e " +
               std::to_string(i) +
               " \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC \xCE\x94\xCE\xB5\xCE\xBB\xCF\x84\xCE\xB1";
    if (i % 50 == 0) {
        std::string s = "Long note " + std::to_string(i) + ": ";
        for (int k = 0; k < 12; ++k) s += "lorem ipsum dolor sit amet ";
        return s;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Item %04d", i);
    return buffer;
}

// The two files converted from the same flat ODF source hold the same sheet.
void checkOdfSample(const Workbook& wb) {
    ASSERT_EQ(wb.sheets.size(), 3u);
    const Sheet& data = sheetNamed(wb, "Data");
    EXPECT_EQ(text(data, 0, 0), "Quarterly figures \xE2\x80\x93 Z\xC3\xBCrich");
    ASSERT_NE(data.mergeAt(0, 3), nullptr);
    EXPECT_EQ(*data.mergeAt(0, 3), (CellRange{0, 0, 0, 3}));
    EXPECT_EQ(text(data, 2, 0), expectedWord(3));
    EXPECT_EQ(number(data, 2, 1), 9);
    EXPECT_EQ(number(data, 2, 2), 3.25);
    // The formula column: cached products, and each cell its own tokens.
    for (uint16_t r = 2; r < 22; ++r) {
        const Cell* c = data.find(r, 3);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->hasFormula()) << "row " << r;
        EXPECT_DOUBLE_EQ(c->value.number, (r + 1) * 3 * (r + 1 + 0.25));
    }
    // Each program spells the literal its own way: \ kg or " kg".
    const std::string money = wb.formatCode(wb.xf(data.find(2, 2)->xf).format);
    EXPECT_EQ(money.rfind("#,##0.00", 0), 0u) << money;
    EXPECT_NE(money.find("kg"), std::string::npos) << money;
    EXPECT_EQ(wb.formatCode(wb.xf(data.find(2, 5)->xf).format), "[h]:mm");
    const Cell* flags = data.find(23, 1);
    ASSERT_NE(flags, nullptr);
    EXPECT_EQ(flags->value, CellValue::fromBool(true));
    EXPECT_EQ(data.find(23, 2)->value, CellValue::fromError(ErrorCode::Div0));
    EXPECT_EQ(data.find(23, 3)->value, CellValue::fromText("xy"));
    EXPECT_EQ(number(data, 23, 4), -123456.789);
    EXPECT_EQ(number(data, 24, 1), 44438);
    EXPECT_EQ(text(data, 25, 9), "far right J");
    ASSERT_TRUE(data.printArea.has_value());
    EXPECT_EQ(*data.printArea, (CellRange{0, 29, 0, 5}));
    const Font& titleFont = wb.font(wb.xf(data.find(0, 0)->xf).font);
    EXPECT_TRUE(titleFont.bold());
    EXPECT_EQ(titleFont.heightTwips, 280);
    EXPECT_TRUE(wb.xf(data.find(1, 0)->xf).wrap);
    EXPECT_EQ(wb.xf(data.find(1, 0)->xf).top.style, 1);
    EXPECT_EQ(wb.xf(data.find(0, 0)->xf).hAlign, HAlign::Centre);

    const Sheet& strings = sheetNamed(wb, "Strings \xC3\xA9t\xC3\xA9");
    for (int i = 0; i < 1500; i += 37)
        EXPECT_EQ(text(strings, static_cast<uint16_t>(i / 3), static_cast<uint16_t>(i % 3)),
                  expectedWord(i));
    EXPECT_EQ(text(strings, 499, 2), expectedWord(1499));
}

TEST(SampleWorkbook, LibreOfficeFileReadsAsWritten) {
    const Workbook wb = readWorkbook(sampleBytes("libreoffice_sample.xls"));
    checkOdfSample(wb);
    EXPECT_FALSE(wb.otherStreams.empty());  // summary information
}

TEST(SampleWorkbook, GnumericFileReadsAsWritten) {
    checkOdfSample(readWorkbook(sampleBytes("gnumeric_sample.xls")));
}

TEST(SampleWorkbook, XlwtFileReadsAsWritten) {
    const Workbook wb = readWorkbook(sampleBytes("xlwt_sample.xls"));
    ASSERT_EQ(wb.sheets.size(), 2u);
    const Sheet& numbers = wb.sheets[0];
    EXPECT_EQ(text(numbers, 0, 0), "Numbers from xlwt \xE2\x80\x93 \xC3\xBC\xC3\xA9");
    EXPECT_EQ(numbers.merges, (std::vector<CellRange>{{0, 0, 0, 3}}));
    for (uint16_t r = 1; r < 40; ++r) {
        EXPECT_EQ(number(numbers, r, 0), r);
        EXPECT_EQ(number(numbers, r, 1), r * 1.5);
        EXPECT_EQ(number(numbers, r, 2), r / 96.0);
        EXPECT_EQ(number(numbers, r, 11), -r * 1000000.125);
        EXPECT_TRUE(numbers.find(r, 3)->hasFormula());
    }
    EXPECT_EQ(wb.formatCode(wb.xf(numbers.find(1, 1)->xf).format),
              "#,##0.00 \"EUR\";[Red]-#,##0.00 \"EUR\"");
    EXPECT_EQ(wb.formatCode(wb.xf(numbers.find(1, 2)->xf).format), "[h]:mm");
    EXPECT_EQ(numbers.find(41, 0)->value, CellValue::fromBool(true));
    EXPECT_EQ(numbers.columns.front().width, 4000);
    EXPECT_EQ(numbers.rows.at(0).heightTwips, 500);
    const Sheet& strings = wb.sheets[1];
    for (int i = 0; i < 1500; i += 41)
        EXPECT_EQ(text(strings, static_cast<uint16_t>(i / 4), static_cast<uint16_t>(i % 4)),
                  expectedWord(i));
}

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, WriteThenReadGivesTheSameModel) {
    const Workbook first = readWorkbook(sampleBytes(GetParam()));
    const std::vector<uint8_t> written = writeWorkbook(first);
    const Workbook second = readWorkbook(written);
    expectSameWorkbook(first, second);
    // And the file we wrote is stable under a second pass.
    EXPECT_EQ(writeWorkbook(second), written);
}

INSTANTIATE_TEST_SUITE_P(SampleFiles, RoundTrip,
                         ::testing::Values("libreoffice_sample.xls", "gnumeric_sample.xls",
                                           "xlwt_sample.xls"));

}  // namespace
}  // namespace tallowby::engine
