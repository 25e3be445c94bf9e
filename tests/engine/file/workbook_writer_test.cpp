// Writing workbooks the engine built or changed, and reading them back.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/file/model_comparison.h"
#include "tests/engine/file/sample_files.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/cfb/compound_file.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine {
namespace {

using testing::sampleBytes;

// =A1*24+B1 with relative references.
const std::vector<uint8_t> kProductFormula = {0x44, 0x00, 0x00, 0x00, 0xC0, 0x1E, 0x18, 0x00,
                                              0x05, 0x44, 0x00, 0x00, 0x01, 0xC0, 0x03};
// ="ab"
const std::vector<uint8_t> kTextFormula = {0x17, 0x02, 0x00, 'a', 'b'};

Workbook timesheetLikeWorkbook() {
    Workbook wb;
    wb.isTemplate = true;
    wb.fonts.push_back(Font{});
    Font bold;
    bold.weight = 700;
    bold.heightTwips = 280;
    wb.fonts.push_back(bold);
    Sheet& s = wb.sheets.emplace_back();
    s.name = "Employee Timesheet";
    s.at(0, 0).value = CellValue::fromText("Employee Timesheet");
    s.at(10, 0).value = CellValue::fromText("Day of Week");  // row 11, column A
    s.at(10, 9).value = CellValue::fromNumber(11.5);         // column J
    s.at(200, 255).value = CellValue::fromNumber(-0.125);    // the last column
    s.at(3, 2).value = CellValue::fromBool(true);
    s.at(3, 3).value = CellValue::fromError(ErrorCode::Div0);
    s.at(3, 4).xf = 15;  // a formatted blank
    Cell& product = s.at(4, 2);
    product.formula = kProductFormula;
    product.value = CellValue::fromNumber(48.75);
    Cell& textResult = s.at(4, 3);
    textResult.formula = kTextFormula;
    textResult.value = CellValue::fromText("ab");
    Cell& boolResult = s.at(4, 4);
    boolResult.formula = {0x1D, 0x01};  // =TRUE
    boolResult.value = CellValue::fromBool(true);
    Cell& notYet = s.at(4, 5);
    notYet.formula = {0x1E, 0x02, 0x00};  // =2, not yet computed
    s.merges = {{0, 0, 0, 8}, {3, 3, 6, 8}};
    s.columns = {{0, 0, 4000, 15, 0}, {1, 7, 2000, 15, 0}};
    s.rows[0] = RowInfo{600, true, false, std::nullopt, 0x140};
    s.printArea = CellRange{0, 30, 0, 8};
    s.showGridlines = false;
    return wb;
}

TEST(WorkbookWriter, ABuiltWorkbookReadsBackCellForCell) {
    Workbook wb = timesheetLikeWorkbook();
    const Workbook read = readWorkbook(writeWorkbook(wb));
    ASSERT_EQ(read.sheets.size(), 1u);
    const Sheet& s = read.sheets[0];
    EXPECT_EQ(s.name, "Employee Timesheet");
    for (const auto& [at, cell] : wb.sheets[0].cells()) {
        const Cell* back = s.find(at.row, at.col);
        ASSERT_NE(back, nullptr) << at.row << "," << at.col;
        EXPECT_EQ(back->formula, cell.formula);
        EXPECT_EQ(back->xf, cell.xf);
        if (cell.value.isEmpty() && cell.hasFormula()) {
            EXPECT_EQ(back->value, CellValue::fromText(""));  // an uncomputed formula shows nothing
        } else {
            EXPECT_EQ(back->value, cell.value) << at.row << "," << at.col;
        }
        if (cell.hasFormula()) {
            EXPECT_EQ(back->formulaFlags & 1, 1) << "always recalculate";
        }
    }
    EXPECT_EQ(s.merges, wb.sheets[0].merges);
    EXPECT_EQ(s.columns, wb.sheets[0].columns);
    EXPECT_EQ(s.rows.at(0).heightTwips, 600);
    EXPECT_TRUE(s.rows.at(0).customHeight);
    EXPECT_EQ(s.printArea, wb.sheets[0].printArea);
    EXPECT_FALSE(s.showGridlines);
    EXPECT_TRUE(read.isTemplate);
    EXPECT_GE(read.xfs.size(), 16u);
    EXPECT_TRUE(read.font(1).bold());
}

TEST(WorkbookWriter, SavingAsWorkbookDropsTheTemplateMarker) {
    const Workbook wb = timesheetLikeWorkbook();
    WriteOptions asWorkbook;
    asWorkbook.saveAsWorkbook = true;
    EXPECT_FALSE(readWorkbook(writeWorkbook(wb, asWorkbook)).isTemplate);
    EXPECT_TRUE(readWorkbook(writeWorkbook(wb)).isTemplate);
}

TEST(WorkbookWriter, NewFormatsAndXfsAreAdded) {
    Workbook wb = readWorkbook(sampleBytes("xlwt_sample.xls"));
    const uint16_t dayFormat = wb.ensureFormat("ddd\\ m/d");
    EXPECT_GE(dayFormat, 164);
    EXPECT_EQ(wb.ensureFormat("ddd\\ m/d"), dayFormat);
    EXPECT_EQ(wb.ensureFormat("0.00"), 2);  // a built-in one needs no record
    Xf xf = wb.xf(15);
    xf.format = dayFormat;
    xf.fillPattern = 1;
    xf.fillForeground = 22;
    xf.bottom = {2, 8};
    const uint16_t index = wb.ensureXf(xf);
    Sheet& s = wb.sheets[0];
    s.at(11, 0).value = CellValue::fromNumber(44438);
    s.at(11, 0).xf = index;

    const Workbook read = readWorkbook(writeWorkbook(wb));
    const Xf& back = read.xf(read.sheets[0].find(11, 0)->xf);
    EXPECT_EQ(read.formatCode(back.format), "ddd\\ m/d");
    EXPECT_EQ(back.fillPattern, 1);
    EXPECT_EQ(back.fillForeground, 22);
    EXPECT_EQ(back.bottom, (BorderLine{2, 8}));
    EXPECT_EQ(read.formats, wb.formats);
}

TEST(WorkbookWriter, LongAndWideStringsCrossRecordBoundaries) {
    Workbook wb;
    Sheet& s = wb.sheets.emplace_back();
    s.name = "Strings";
    std::vector<std::string> texts;
    for (int i = 0; i < 4000; ++i) {
        std::string t = "text " + std::to_string(i);
        if (i % 3 == 0) t += " \xE2\x82\xAC\xE6\x97\xA5";   // euro sign and a CJK character: 16-bit
        if (i % 500 == 0) t += std::string(9000 + i, 'x');  // longer than a record
        texts.push_back(t);
        s.at(static_cast<uint16_t>(i), 0).value = CellValue::fromText(t);
        s.at(static_cast<uint16_t>(i), 1).value = CellValue::fromText(texts[i / 2]);  // repeats
    }
    Cell& longResult = s.at(0, 5);
    longResult.formula = kTextFormula;
    longResult.value = CellValue::fromText(std::string(12000, 'y') + "\xC3\xA9\xE2\x82\xAC");
    const Workbook read = readWorkbook(writeWorkbook(wb));
    for (int i = 0; i < 4000; ++i) {
        ASSERT_EQ(read.sheets[0].find(static_cast<uint16_t>(i), 0)->value.text, texts[i]) << i;
        ASSERT_EQ(read.sheets[0].find(static_cast<uint16_t>(i), 1)->value.text, texts[i / 2]) << i;
    }
    EXPECT_EQ(read.sheets[0].find(0, 5)->value, longResult.value);
}

TEST(WorkbookWriter, PrintAreasAreAddedChangedAndRemoved) {
    // The xlwt sample has no names at all: adding one needs the reference tables too.
    Workbook wb = readWorkbook(sampleBytes("xlwt_sample.xls"));
    wb.sheets[1].printArea = CellRange{0, 374, 0, 3};
    Workbook read = readWorkbook(writeWorkbook(wb));
    EXPECT_FALSE(read.sheets[0].printArea);
    EXPECT_EQ(read.sheets[1].printArea, wb.sheets[1].printArea);

    Workbook lo = readWorkbook(sampleBytes("libreoffice_sample.xls"));
    ASSERT_TRUE(lo.sheets[0].printArea);
    lo.sheets[0].printArea = CellRange{1, 9, 2, 10};
    lo.sheets[2].printArea = CellRange{0, 0, 0, 0};
    read = readWorkbook(writeWorkbook(lo));
    EXPECT_EQ(read.sheets[0].printArea, lo.sheets[0].printArea);
    EXPECT_EQ(read.sheets[2].printArea, lo.sheets[2].printArea);
    lo.sheets[0].printArea.reset();
    read = readWorkbook(writeWorkbook(lo));
    EXPECT_FALSE(read.sheets[0].printArea);
    EXPECT_EQ(read.sheets[2].printArea, lo.sheets[2].printArea);
}

TEST(WorkbookWriter, OtherStreamsTravelWithTheWorkbook) {
    const std::vector<uint8_t> original = sampleBytes("libreoffice_sample.xls");
    const CompoundFile before = readCompoundFile(original);
    const CompoundFile after = readCompoundFile(writeWorkbook(readWorkbook(original)));
    EXPECT_EQ(after.rootClsid, before.rootClsid);
    for (const CompoundStream& s : before.streams) {
        if (s.path == "Workbook") continue;
        const CompoundStream* copy = after.find(s.path);
        ASSERT_NE(copy, nullptr) << s.path;
        EXPECT_EQ(copy->data, s.data);
    }
}

TEST(WorkbookWriter, ActiveSheetAndSelectionAreWritten) {
    Workbook wb = readWorkbook(sampleBytes("libreoffice_sample.xls"));
    wb.activeSheet = 1;
    wb.sheets[0].selected = false;
    const Workbook read = readWorkbook(writeWorkbook(wb));
    EXPECT_EQ(read.activeSheet, 1);
    EXPECT_TRUE(read.sheets[1].selected);
    EXPECT_FALSE(read.sheets[0].selected);
}

TEST(WorkbookWriter, KeptRecordsAreWrittenUnchanged) {
    const Workbook first = readWorkbook(sampleBytes("gnumeric_sample.xls"));
    const Workbook second = readWorkbook(writeWorkbook(first));
    EXPECT_EQ(first.globalRecords, second.globalRecords);
    for (size_t i = 0; i < first.sheets.size(); ++i) {
        EXPECT_EQ(first.sheets[i].recordsBeforeCells, second.sheets[i].recordsBeforeCells);
        EXPECT_EQ(first.sheets[i].recordsAfterCells, second.sheets[i].recordsAfterCells);
    }
}

TEST(WorkbookWriter, NumbersKeepEveryBit) {
    Workbook wb;
    Sheet& s = wb.sheets.emplace_back();
    s.name = "N";
    const double values[] = {0,   1,     -1,        536870911, -536870912, 536870912,     0.5,
                             0.1, 1e300, -2.5e-300, 44438.5,   1.0 / 3,    123456789012.0};
    uint16_t row = 0;
    for (double v : values) s.at(row++, 0).value = CellValue::fromNumber(v);
    s.at(row, 0).value = CellValue::fromNumber(std::nan(""));
    const Workbook read = readWorkbook(writeWorkbook(wb));
    for (uint16_t r = 0; r < row; ++r)
        EXPECT_EQ(read.sheets[0].find(r, 0)->value.number, values[r]);
    EXPECT_EQ(read.sheets[0].find(row, 0)->value, CellValue::fromError(ErrorCode::Num));
}

}  // namespace
}  // namespace tallowby::engine
