#include <gtest/gtest.h>

#include "tests/engine/render/render_fixture.h"

namespace tallowby::engine {
namespace {

using testing::RenderTest;

// Default grid: columns 64 px, rows 17 px; line k at 64k / 17k.
constexpr int kCol = 64, kRow = 17;
const QRgb kRed = qRgb(255, 0, 0), kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);

TEST_F(RenderTest, GridlinesOnlyWhenTheSheetShowsThem) {
    put(2, 2, CellValue::empty());
    QImage image = draw();
    EXPECT_EQ(image.pixel(kCol, 5), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(image.pixel(5, kRow), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(image.pixel(5, 5), kWhite);
    sheet().showGridlines = false;
    image = draw();
    EXPECT_EQ(image.pixel(kCol, 5), kWhite);
    EXPECT_EQ(image.pixel(5, kRow), kWhite);
}

TEST_F(RenderTest, SolidFillUsesThePaletteAndCoversTheGridLines) {
    Xf red;
    red.fillPattern = 1;
    red.fillForeground = 10;  // palette entry 10: red in the default palette
    put(1, 1, CellValue::empty(), addXf(red));
    QImage image = draw();
    EXPECT_EQ(image.pixel(kCol + 10, kRow + 8), kRed);
    EXPECT_EQ(image.pixel(kCol, kRow + 8), kRed);  // its left grid line
    EXPECT_EQ(image.pixel(10, 8), kWhite);         // A1 untouched
    book.palette[10 - 8] = 0x123456;               // a custom palette entry
    image = draw();
    EXPECT_EQ(image.pixel(kCol + 10, kRow + 8), qRgb(0x12, 0x34, 0x56));
}

TEST_F(RenderTest, BorderStylesDrawOnTheCellEdges) {
    sheet().showGridlines = false;
    Xf thin, medium, dbl;
    thin.bottom = {1, 8};  // black
    medium.bottom = {2, 10};
    dbl.bottom = {6, 8};
    put(0, 0, CellValue::empty(), addXf(thin));
    put(0, 1, CellValue::empty(), addXf(medium));
    put(0, 2, CellValue::empty(), addXf(dbl));
    put(2, 2, CellValue::empty());
    const QImage image = draw();
    // Thin: one black row on the line under row 1, across the cell.
    for (int x = 0; x < kCol; ++x) EXPECT_EQ(image.pixel(x, kRow), kBlack) << x;
    EXPECT_EQ(image.pixel(30, kRow - 1), kWhite);
    EXPECT_EQ(image.pixel(30, kRow + 1), kWhite);
    // Medium: two rows, red.
    EXPECT_EQ(image.pixel(kCol + 30, kRow), kRed);
    EXPECT_EQ(image.pixel(kCol + 30, kRow + 1), kRed);
    EXPECT_EQ(image.pixel(kCol + 30, kRow + 2), kWhite);
    // Double: two lines with a gap on the grid line.
    EXPECT_EQ(image.pixel(2 * kCol + 30, kRow - 1), kBlack);
    EXPECT_EQ(image.pixel(2 * kCol + 30, kRow), kWhite);
    EXPECT_EQ(image.pixel(2 * kCol + 30, kRow + 1), kBlack);
}

TEST_F(RenderTest, GeneralAlignmentTextLeftNumbersRightBooleansCentred) {
    sheet().showGridlines = false;
    put(0, 0, CellValue::fromText("ab"));
    put(1, 0, CellValue::fromNumber(12));
    put(2, 0, CellValue::fromBool(true));
    const QImage image = draw();
    auto [textFirst, textLast] = inkColumns(image, 0, 0, kCol - 1, kRow - 1);
    EXPECT_GE(textFirst, 2);
    EXPECT_LE(textFirst, 5);
    auto [numFirst, numLast] = inkColumns(image, 0, kRow, kCol - 1, 2 * kRow - 1);
    EXPECT_GE(numLast, kCol - 5);
    EXPECT_LE(numLast, kCol - 2);
    auto [boolFirst, boolLast] = inkColumns(image, 0, 2 * kRow, kCol - 1, 3 * kRow - 1);
    EXPECT_NEAR((boolFirst + boolLast) / 2.0, kCol / 2.0, 2.5);
    // Bottom alignment: the ink sits in the lower part of the row.
    EXPECT_EQ(ink(image, 0, 1, kCol - 1, 2), 0);
    EXPECT_GT(ink(image, 0, kRow - 8, kCol - 1, kRow - 3), 0);
}

TEST_F(RenderTest, TextSpillsOnlyIntoTrulyEmptyNeighbours) {
    const std::string longText = "A rather long heading text";
    put(0, 0, CellValue::fromText(longText));
    put(1, 0, CellValue::fromText(longText));
    put(1, 1, CellValue::fromNumber(1));  // B2 holds a value: A2 is cut at its edge
    put(2, 0, CellValue::fromText(longText));
    put(2, 1, CellValue::empty());  // B3 is a formatted blank: still empty
    put(3, 3, CellValue::empty());
    const QImage image = draw();
    EXPECT_GT(ink(image, kCol + 1, 0, 2 * kCol - 1, kRow - 1), 20);  // row 1 spills into B1
    EXPECT_EQ(image.pixel(kCol, 4), kWhite);                         // and hides the grid line
    EXPECT_EQ(ink(image, kCol + 1, kRow + 1, kCol + 40, 2 * kRow - 1), 0);  // row 2 stops at B2
    EXPECT_EQ(image.pixel(kCol, kRow + 4), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_GT(ink(image, kCol + 1, 2 * kRow + 1, 2 * kCol - 1, 3 * kRow - 1), 20);  // row 3 spills
}

TEST_F(RenderTest, WrappedAndMergedTextStaysInItsCell) {
    sheet().showGridlines = false;
    Xf wrap;
    wrap.wrap = true;
    put(0, 0, CellValue::fromText("A rather long heading text"), addXf(wrap));
    put(1, 1, CellValue::empty());
    const QImage image = draw();
    EXPECT_EQ(ink(image, kCol + 1, 0, 2 * kCol, kRow), 0);
}

TEST_F(RenderTest, LineBreakInAWrappedCellGivesTwoLines) {
    sheet().showGridlines = false;
    sheet().rows[0] = RowInfo{600, true, false, {}, 0x140};  // 40 px
    Xf wrap;
    wrap.wrap = true;
    wrap.hAlign = HAlign::Centre;
    put(0, 0, CellValue::fromText("TOTAL\nHOURS"), addXf(wrap));
    put(0, 1, CellValue::fromText("TOTAL\nHOURS"));  // not wrapped: one line
    const QImage image = draw();
    auto bands = [&](int x0, int x1) {
        int count = 0;
        bool inBand = false;
        for (int y = 0; y < 40; ++y) {
            const bool has = ink(image, x0, y, x1, y) > 0;
            if (has && !inBand) ++count;
            inBand = has;
        }
        return count;
    };
    EXPECT_EQ(bands(1, kCol - 1), 2);
    EXPECT_EQ(bands(kCol + 1, 2 * kCol - 1), 1);
}

TEST_F(RenderTest, MergedRangeShowsTheTopLeftValueAcrossWithoutInnerLines) {
    Xf centred;
    centred.hAlign = HAlign::Centre;
    const uint16_t xf = addXf(centred);
    put(0, 0, CellValue::fromText("Title"), xf);
    put(0, 1, CellValue::fromText("hidden under the merge"), xf);
    sheet().merges.push_back(CellRange{0, 1, 0, 2});
    put(3, 3, CellValue::empty());
    const QImage image = draw();
    EXPECT_EQ(image.pixel(kCol, 5), kWhite);      // no inner vertical line
    EXPECT_EQ(image.pixel(10, kRow), kWhite);     // no inner horizontal line
    EXPECT_NE(image.pixel(3 * kCol, 5), kWhite);  // the outer line is there
    auto [first, last] = inkColumns(image, 0, 0, 3 * kCol, 2 * kRow);
    EXPECT_NEAR((first + last) / 2.0, 3 * kCol / 2.0, 2.5);  // centred on the range
    EXPECT_LT(last - first, 40);                             // only "Title" is drawn
}

TEST_F(RenderTest, NumbersThatDoNotFitShowHashesAndDoNotSpill) {
    sheet().showGridlines = false;
    sheet().columns.push_back(ColumnInfo{0, 0, 1024, 15, 0});  // 28 px
    Xf twoDecimals;
    twoDecimals.format = 2;  // 0.00
    put(0, 0, CellValue::fromNumber(123456.789), addXf(twoDecimals));
    put(1, 1, CellValue::empty());
    const QImage image = draw();
    EXPECT_GT(ink(image, 0, 0, 27, kRow - 1), 0);
    EXPECT_EQ(ink(image, 29, 0, 28 + kCol, kRow - 1), 0);
}

TEST_F(RenderTest, FontsSizesAndWeightsChangeTheInk) {
    sheet().showGridlines = false;
    Font bold;
    bold.weight = 700;
    Font big;
    big.heightTwips = 400;  // 20 pt
    book.fonts.push_back(Font{});
    book.fonts.push_back(Font{});
    book.fonts.push_back(Font{});
    book.fonts.push_back(bold);  // index 5: there is no font 4
    book.fonts.push_back(big);   // index 6
    Xf boldXf, bigXf;
    boldXf.font = 5;
    bigXf.font = 6;
    sheet().rows[2] = RowInfo{600, true, false, {}, 0x140};
    put(0, 0, CellValue::fromText("Hours"));
    put(1, 0, CellValue::fromText("Hours"), addXf(boldXf));
    put(2, 0, CellValue::fromText("Hours"), addXf(bigXf));
    const QImage image = draw();
    const int regular = ink(image, 0, 0, kCol - 1, kRow - 1);
    EXPECT_GT(ink(image, 0, kRow, kCol - 1, 2 * kRow - 1), regular * 5 / 4);
    auto height = [&](int y0, int y1) {
        int first = -1, last = -1;
        for (int y = y0; y <= y1; ++y)
            if (ink(image, 0, y, kCol - 1, y) > 0) {
                if (first < 0) first = y;
                last = y;
            }
        return last - first + 1;
    };
    EXPECT_GT(height(2 * kRow, 2 * kRow + 39), 3 * height(0, kRow - 1) / 2);
}

TEST_F(RenderTest, FormatColourAndFontColour) {
    sheet().showGridlines = false;
    Xf redFormat;
    redFormat.format = book.ensureFormat("[Red]0");
    put(0, 0, CellValue::fromNumber(888), addXf(redFormat));
    put(1, 1, CellValue::empty());
    const QImage image = draw();
    int red = 0;
    for (int y = 0; y < kRow; ++y)
        for (int x = 0; x < kCol; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80) ++red;
        }
    EXPECT_GT(red, 10);
}

}  // namespace
}  // namespace tallowby::engine
