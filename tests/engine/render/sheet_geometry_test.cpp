#include "workbook/engine/render/sheet_geometry.h"

#include <gtest/gtest.h>

#include "tests/engine/render/render_fixture.h"

namespace tallowby::engine {
namespace {

using render::columnWidthPixels;
using render::rowHeightPixels;
using testing::RenderTest;

TEST(SheetGeometry, ColumnWidthsFromUnitsAndDefaults) {
    Sheet sheet;
    EXPECT_EQ(columnWidthPixels(sheet, 0), 64);  // DEFCOLWIDTH 8
    sheet.defaultColWidthChars = 10;             // 75 px, to a multiple of 8
    EXPECT_EQ(columnWidthPixels(sheet, 0), 80);
    sheet.standardWidth = 2340;
    EXPECT_EQ(columnWidthPixels(sheet, 3), 64);
    sheet.columns.push_back(ColumnInfo{1, 2, 3000, 15, 0});
    sheet.columns.push_back(ColumnInfo{4, 4, 2340, 15, 1});  // hidden
    EXPECT_EQ(columnWidthPixels(sheet, 1), 82);              // 3000 * 7 / 256 = 82.03
    EXPECT_EQ(columnWidthPixels(sheet, 2), 82);
    EXPECT_EQ(columnWidthPixels(sheet, 4), 0);
}

TEST(SheetGeometry, RowHeightsInTwipsFifteenToThePixel) {
    Sheet sheet;
    EXPECT_EQ(rowHeightPixels(sheet, 7), 17);  // 255 twips
    sheet.rows[2] = RowInfo{600, true, false, {}, 0x140};
    sheet.rows[3] = RowInfo{300, true, true, {}, 0x160};
    EXPECT_EQ(rowHeightPixels(sheet, 2), 40);
    EXPECT_EQ(rowHeightPixels(sheet, 3), 0);
}

TEST_F(RenderTest, PictureSizeIsTheSumOfColumnsAndRowsFromA1) {
    sheet().columns.push_back(ColumnInfo{0, 0, 3000, 15, 0});
    sheet().rows[1] = RowInfo{600, true, false, {}, 0x140};
    put(2, 2, CellValue::fromNumber(1));  // C3: A1 to C3 are drawn
    const QImage image = draw();
    EXPECT_EQ(image.width(), 82 + 64 + 64 + 1);
    EXPECT_EQ(image.height(), 17 + 40 + 17 + 1);
}

TEST_F(RenderTest, MergedRangesAndFormattedBlanksWidenTheUsedRange) {
    put(0, 0, CellValue::fromText("x"));
    sheet().merges.push_back(CellRange{0, 3, 0, 4});
    QImage image = draw();
    EXPECT_EQ(image.width(), 5 * 64 + 1);
    EXPECT_EQ(image.height(), 4 * 17 + 1);
    put(9, 9, CellValue::empty());  // a formatted blank counts
    image = draw();
    EXPECT_EQ(image.width(), 10 * 64 + 1);
}

TEST_F(RenderTest, EmptySheetsBadIndexesAndHugeRanges) {
    EXPECT_TRUE(draw().isNull());
    EXPECT_THROW(renderUsedRange(book, 1, FormatLocale::english()), std::runtime_error);
    EXPECT_THROW(renderUsedRange(book, -1, FormatLocale::english()), std::runtime_error);
    put(65535, 255, CellValue::fromNumber(1));
    EXPECT_THROW(draw(), std::runtime_error);
}

TEST_F(RenderTest, DamagedMergedRangesAreIgnored) {
    put(1, 1, CellValue::fromText("x"));
    sheet().merges.push_back(CellRange{5, 2, 0, 1});      // upside down
    sheet().merges.push_back(CellRange{0, 0, 300, 310});  // past the last column
    sheet().merges.push_back(CellRange{0, 0, 200, 400});  // runs past it: cut at IV
    const QImage image = draw();
    EXPECT_EQ(image.width(), 256 * 64 + 1);
    EXPECT_EQ(image.height(), 2 * 17 + 1);
}

}  // namespace
}  // namespace tallowby::engine
