// The .xlsx writer: what it puts in the file's parts for the timesheet
// template and for hand-made workbooks, the warnings for what the format
// cannot hold, and failures. Outside readers check the files in tests/interop.
#include "workbook/engine/xlsx/xlsx_writer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>

#include "tests/support/test_paths.h"
#include "tests/support/zip_entry.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/formula/recalculate.h"
#include "workbook/engine/xlsx/xlsx_geometry.h"

namespace tallowby::engine::xlsx {
namespace {

using tallowby::testing::contains;
using tallowby::testing::zipEntry;

bool anyWarningSays(const std::vector<std::string>& warnings, const std::string& what) {
    return std::any_of(warnings.begin(), warnings.end(),
                       [&](const std::string& w) { return contains(w, what); });
}

class XlsxWriterTest : public ::testing::Test {
  protected:
    std::string out(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    std::vector<std::string> write(const Workbook& book, const std::string& name = "out.xlsx") {
        XlsxOptions options;
        options.scratchFolder = dir_.path().toStdString();
        return writeXlsxFile(book, out(name), options);
    }
    std::string part(const std::string& entry, const std::string& name = "out.xlsx") const {
        return zipEntry(out(name), entry);
    }

    QTemporaryDir dir_;
};

// A workbook with one sheet and the default styles a read file would have.
Workbook oneSheet(const std::string& name = "Week") {
    Workbook book;
    book.fonts.push_back(Font{});
    book.xfs.resize(16);
    book.sheets.emplace_back();
    book.sheets[0].name = name;
    return book;
}

TEST_F(XlsxWriterTest, TheTemplateKeepsItsFormulasResultsFormatsAndPageSetupWithoutWarnings) {
    Workbook book = readWorkbookFile(test_paths::kTemplateFile);
    book.sheets[0].at(11, 1).value = CellValue::fromNumber(8.0 / 24);  // B12: eight hours
    formula::recalculate(book);
    const std::vector<std::string> warnings = write(book);
    EXPECT_TRUE(warnings.empty()) << warnings.front();

    const std::string sheet = part("xl/worksheets/sheet1.xml");
    ASSERT_FALSE(sheet.empty());
    // Row 12's sum of the eight hours, with its cached result.
    EXPECT_TRUE(contains(sheet, "<f>SUM(B12:H12)</f><v>0.33333333333333"));
    EXPECT_TRUE(contains(sheet, "showGridLines=\"0\""));
    EXPECT_TRUE(contains(sheet, "<mergeCell ref="));
    EXPECT_TRUE(contains(sheet, "<pageSetup"));
    const std::string workbook = part("xl/workbook.xml");
    EXPECT_TRUE(contains(workbook, "<sheet name=\"" + book.sheets[0].name + "\""));
    EXPECT_TRUE(contains(workbook, "_xlnm.Print_Area"));
    // The [h]:mm format of the hours and the short date of the week start.
    const std::string styles = part("xl/styles.xml");
    EXPECT_TRUE(contains(styles, "formatCode=\"[h]:mm\"")) << styles.substr(0, 600);
    EXPECT_TRUE(contains(styles, "numFmtId=\"14\""));
    EXPECT_TRUE(contains(styles, "<name val=\"Arial\"/>"));
}

TEST_F(XlsxWriterTest, ValuesOfEveryTypeKeepTheirTypes) {
    Workbook book = oneSheet();
    Sheet& s = book.sheets[0];
    s.at(0, 0).value = CellValue::fromNumber(2.5);
    s.at(0, 1).value = CellValue::fromText("Zoë 😀 東京 שלום");
    s.at(0, 2).value = CellValue::fromBool(true);
    s.at(0, 3).value = CellValue::fromError(ErrorCode::Div0);
    s.at(0, 4).xf = 15;  // a formatted blank
    // =1+2 with its result, and ="a"&"b" with a text result.
    Cell& sum = s.at(1, 0);
    sum.formula = {0x1E, 1, 0, 0x1E, 2, 0, 0x03};
    sum.value = CellValue::fromNumber(3);
    Cell& joined = s.at(1, 1);
    joined.formula = {0x17, 1, 0, 'a', 0x17, 1, 0, 'b', 0x08};
    joined.value = CellValue::fromText("ab");
    const std::vector<std::string> warnings = write(book);

    const std::string sheet = part("xl/worksheets/sheet1.xml");
    EXPECT_TRUE(contains(part("xl/sharedStrings.xml"), "Zoë 😀 東京 שלום"));
    for (const char* cell :
         {"<c r=\"A1\" s=\"1\"><v>2.5</v></c>", "<c r=\"B1\" s=\"1\" t=\"s\">",
          "<c r=\"C1\" s=\"1\" t=\"b\"><v>1</v></c>",
          "<c r=\"D1\" s=\"1\" t=\"str\"><f>#DIV/0!</f><v>#DIV/0!</v>", "<c r=\"E1\" s=\"1\"/>",
          "<c r=\"A2\" s=\"1\"><f>1+2</f><v>3</v></c>", "<f>\"a\"&amp;\"b\"</f><v>ab</v>"})
        EXPECT_TRUE(contains(sheet, cell)) << cell << " in " << sheet;
    // The error constant becomes a formula, and the writer says so.
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(contains(warnings[0], "1 error values are written as formulas"));
}

TEST_F(XlsxWriterTest, StylesColumnsRowsMergesAndPageSetupAreWritten) {
    Workbook book = oneSheet();
    Font bold;
    bold.weight = 700;
    bold.heightTwips = 280;
    bold.name = "Times New Roman";
    bold.colourIndex = 10;  // red
    book.fonts.push_back(bold);
    Xf styled;
    styled.font = 1;
    styled.format = book.ensureFormat("0.000");
    styled.hAlign = HAlign::Centre;
    styled.vAlign = VAlign::Top;
    styled.wrap = true;
    styled.bottom = BorderLine{2, 12};  // medium, blue
    styled.fillPattern = 1;
    styled.fillForeground = 13;  // yellow
    const uint16_t xf = book.ensureXf(styled);
    Sheet& s = book.sheets[0];
    s.at(2, 1).value = CellValue::fromNumber(1);
    s.at(2, 1).xf = xf;
    s.merges.push_back(CellRange{2, 3, 1, 2});
    s.columns.push_back(ColumnInfo{1, 1, 20 * 256 + 183, 15, 0});
    s.columns.push_back(ColumnInfo{3, 3, 2340, 15, 1});  // hidden
    s.rows[2] = RowInfo{600, true, false, std::nullopt, 0x140};
    s.showGridlines = false;
    s.printArea = CellRange{0, 9, 0, 4};
    PrintSetup setup;
    setup.flags = 0;  // landscape
    setup.paperSize = 9;
    s.pageSetup.setup = setup;
    s.pageSetup.sheetOptions = 0x0100;
    s.pageSetup.leftMarginInches = 0.4;
    s.pageSetup.centreHorizontally = true;
    s.pageSetup.header = "&CWeek &P";
    EXPECT_TRUE(write(book).empty());

    const std::string styles = part("xl/styles.xml");
    EXPECT_TRUE(contains(styles, "formatCode=\"0.000\""));
    EXPECT_TRUE(contains(
        styles, "<b/><sz val=\"14\"/><color rgb=\"FFFF0000\"/><name val=\"Times New Roman\"/>"))
        << styles;
    EXPECT_TRUE(contains(styles, "<patternFill patternType=\"solid\"><fgColor rgb=\"FFFFFF00\"/>"));
    EXPECT_TRUE(contains(styles, "<bottom style=\"medium\"><color rgb=\"FF0000FF\"/></bottom>"));
    EXPECT_TRUE(
        contains(styles, "<alignment horizontal=\"center\" vertical=\"top\" wrapText=\"1\"/>"));
    const std::string sheet = part("xl/worksheets/sheet1.xml");
    EXPECT_TRUE(contains(sheet, "<mergeCell ref=\"B3:C4\"/>"));
    // 20.72 characters of padded width: within a pixel of what the model says.
    EXPECT_TRUE(contains(sheet, "<col min=\"2\" max=\"2\" width=\"20.7")) << sheet;
    EXPECT_TRUE(contains(sheet, "<col min=\"4\" max=\"4\" width=\"9.140625\" hidden=\"1\""));
    EXPECT_TRUE(contains(sheet, "<row r=\"3\" spans=\"2:3\" ht=\"30\" customHeight=\"1\">"));
    EXPECT_TRUE(contains(sheet, "<sheetFormatPr defaultRowHeight=\"12.75\""));
    EXPECT_TRUE(contains(sheet, "<printOptions horizontalCentered=\"1\"/>"));
    EXPECT_TRUE(contains(sheet,
                         "<pageMargins left=\"0.4\" right=\"0.75\" top=\"1\" bottom=\"1\" "
                         "header=\"0.5\" footer=\"0.5\"/>"));
    EXPECT_TRUE(contains(sheet, "<pageSetup paperSize=\"9\" orientation=\"landscape\"/>"));
    EXPECT_TRUE(contains(sheet, "<pageSetUpPr fitToPage=\"1\"/>"));
    EXPECT_TRUE(contains(sheet, "<oddHeader>&amp;CWeek &amp;P</oddHeader>"));
    EXPECT_TRUE(contains(
        part("xl/workbook.xml"),
        "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">Week!$A$1:$E$10</definedName>"));
}

TEST(XlsxColumnWidth, EveryWidthLandsWithinOnePixelOfTheModel) {
    for (uint32_t width = 0; width <= 0xFFFF; width += 37) {
        const double written = writtenColumnWidth(xlsxColumnWidth(static_cast<uint16_t>(width)));
        // One pixel of a 7-pixel digit is 256 / 7 units; truncation adds one.
        EXPECT_NEAR(written, width, 256.0 / 7 + 1) << width;
    }
}

TEST_F(XlsxWriterTest, WhatTheFormatCannotHoldIsReportedNotDropped) {
    Workbook book = oneSheet("Data");
    book.date1904 = true;
    Sheet& s = book.sheets[0];
    s.recordsAfterCells.push_back(RawRecord{0x001C, {0, 0, 0, 0, 0, 0, 0, 0}});  // a note
    s.recordsBeforeCells.push_back(RawRecord{0x0012, {0, 0}});  // protection switched off
    book.sheets.emplace_back();
    book.sheets[1].name = "Chart";
    book.sheets[1].kind = SheetKind::Chart;
    book.sheets.emplace_back();
    book.sheets[2].name = "Secret";
    book.sheets[2].visibility = 2;
    // A hidden user name "Rate" = Data!$B$2 (a 3-D reference needs the
    // extern-sheet table; a plain number needs none): ="Rate" = 12.
    book.globalRecords.push_back(RawRecord{
        0x0018, {0x01, 0, 0, 4, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'R', 'a', 't', 'e', 0x1E, 12, 0}});
    const std::vector<std::string> warnings = write(book);

    for (const char* said :
         {"Sheet \"Data\": cell notes cannot be written.", "counts dates from 1904",
          "\"Chart\" is not a worksheet", "\"Secret\" is written as an ordinary hidden sheet",
          "\"Rate\" is written visible"})
        EXPECT_TRUE(anyWarningSays(warnings, said)) << said;
    EXPECT_FALSE(anyWarningSays(warnings, "protection"));
    EXPECT_EQ(warnings.size(), 5u);
    const std::string workbook = part("xl/workbook.xml");
    EXPECT_TRUE(contains(workbook, "<definedName name=\"Rate\">12</definedName>")) << workbook;
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Secret\" sheetId=\"2\" state=\"hidden\""));
    EXPECT_FALSE(contains(workbook, "Chart"));
}

TEST_F(XlsxWriterTest, PrintTitlesRepeatTheirRowsAndOtherBuiltInNamesAreReported) {
    Workbook book = oneSheet();
    // Print_Titles of sheet 1: rows 1 to 3, as one whole-row 3-D area.
    book.globalRecords.push_back(RawRecord{
        0x0018, {0x20, 0, 0, 1, 11, 0, 0, 0, 1, 0,    0, 0, 0, 0, 0, 0x07,  // built-in, code 7
                 0x3B, 0, 0, 0, 0,  2, 0, 0, 0, 0xFF, 0}});
    // A Sheet_Title name has no place in the file.
    book.globalRecords.push_back(
        RawRecord{0x0018, {0x20, 0,    0,    1, 11, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                           0,    0x0C, 0x3B, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0}});
    const std::vector<std::string> warnings = write(book);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "The built-in name Sheet_Title is not written.");
    EXPECT_TRUE(contains(part("xl/workbook.xml"),
                         "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Week!$1:$3"
                         "</definedName>"));
}

TEST_F(XlsxWriterTest, AFileThatCannotBeWrittenThrowsAndLeavesNothing) {
    Workbook book = oneSheet();
    book.sheets[0].at(0, 0).value = CellValue::fromNumber(1);
    EXPECT_THROW(write(book, "no such folder/out.xlsx"), std::runtime_error);
    // Nothing of the attempt stays in the scratch folder either.
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

}  // namespace
}  // namespace tallowby::engine::xlsx
