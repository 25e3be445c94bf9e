// What a sheet prints and the PDF document made of it.
#include "workbook/engine/print/sheet_page.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSizeF>

#include "tests/support/template_fixture.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/print/pdf_document.h"

namespace tallowby::engine::print {
namespace {

Workbook smallBook() {
    Workbook wb;
    wb.fonts.push_back(Font{});
    Sheet& s = wb.sheets.emplace_back();
    s.name = "Sheet1";
    s.at(1, 1).value = CellValue::fromText("Total");
    s.at(4, 3).value = CellValue::fromNumber(42);
    return wb;
}

TEST(PrintedRange, ThePrintAreaElseTheUsedRangeFromA1) {
    Workbook wb = smallBook();
    EXPECT_EQ(printedRange(wb.sheets[0]), (CellRange{0, 4, 0, 3}));
    wb.sheets[0].merges.push_back({6, 7, 0, 5});
    EXPECT_EQ(printedRange(wb.sheets[0]), (CellRange{0, 7, 0, 5}));
    wb.sheets[0].printArea = CellRange{1, 2, 1, 9};
    EXPECT_EQ(printedRange(wb.sheets[0]), (CellRange{1, 2, 1, 9}));
    EXPECT_FALSE(printedRange(Sheet{}));
}

TEST(PrintedRange, GridlinesOnPaperOnlyWhenTheSheetAsks) {
    Sheet s;
    EXPECT_FALSE(printsGridlines(s));
    s.recordsBeforeCells.push_back({0x2B, {0x00, 0x00}});
    EXPECT_FALSE(printsGridlines(s));
    s.recordsBeforeCells.back().data = {0x01, 0x00};
    EXPECT_TRUE(printsGridlines(s));
}

TEST(SheetLayout, TheTemplatesPrintAreaInPoints) {
    const Workbook wb = readWorkbookFile(testing::templatePath());
    const Sheet& sheet = wb.sheets[0];
    ASSERT_TRUE(sheet.printArea);
    // The range's width: its columns' pixels (width / 256 x 7, rounded) at 0.75 pt.
    double width = 0;
    for (int c = sheet.printArea->firstCol; c <= sheet.printArea->lastCol; ++c) {
        uint16_t units = 2340;
        for (const ColumnInfo& info : sheet.columns)
            if (c >= info.firstCol && c <= info.lastCol) units = info.width;
        width += std::nearbyint(units * 7 / 256.0) * 0.75;
    }
    width += 0.75;  // the closing grid line
    const PageLayout l = layoutSheet(wb, 0, kLetter);
    EXPECT_NEAR(l.widthPt / l.scale, width, 1e-9);
    EXPECT_FALSE(l.landscape);
    EXPECT_LE(l.widthPt, 612 - 72 + 1e-9);
    EXPECT_LE(l.heightPt, 792 - 72 + 1e-9);
    // Centred across the page as the template says.
    EXPECT_NEAR(l.leftPt + l.widthPt / 2, 306, 1e-9);
    EXPECT_THROW(layoutSheet(wb, 1, kLetter), std::runtime_error);
}

TEST(SheetLayout, AWiderPrintAreaIsScaledToStayOnePageWide) {
    Workbook wb = readWorkbookFile(testing::templatePath());
    const PageLayout nine = layoutSheet(wb, 0, kLetter);
    // Seven more rate columns, as a week with fourteen rates has them.
    Sheet& sheet = wb.sheets[0];
    sheet.columns.insert(sheet.columns.begin(), {9, 15, 2633, 15, 0});  // 72 px each
    sheet.printArea->lastCol = 15;
    const PageLayout sixteen = layoutSheet(wb, 0, kLetter);
    EXPECT_NEAR(sixteen.widthPt / sixteen.scale, nine.widthPt / nine.scale + 7 * 72 * 0.75, 1e-9);
    EXPECT_LT(sixteen.scale, nine.scale);
    // Whichever way the page turns, the range is inside the margins.
    EXPECT_LE(sixteen.widthPt, sixteen.pageWidthPt - 72 + 1e-9);
    EXPECT_LE(sixteen.heightPt, sixteen.pageHeightPt - 72 + 1e-9);
}

TEST(SheetPdf, OnePageWithTitleCreatorAndTheTextAsText) {
    const QByteArray pdf = sheetToPdf(smallBook(), 0, FormatLocale::english(), kA4,
                                      {QStringLiteral("Week 12"), QStringLiteral("Tallowby"), {}});
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
    // Metadata strings are UTF-16 with a byte order mark in Qt's PDFs.
    QByteArray title = "\xFE\xFF";
    for (QChar c : QStringLiteral("Week 12")) title += QByteArray("\0", 1) + char(c.unicode());
    EXPECT_TRUE(pdf.contains(title) || pdf.contains("(Week 12)"));
    EXPECT_TRUE(pdf.contains("/FontFile2"));  // an embedded TrueType font
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_THROW(sheetToPdf(Workbook{}, 0, FormatLocale::english(), kA4, {}), std::runtime_error);
    Workbook empty;
    empty.sheets.emplace_back();
    EXPECT_THROW(sheetToPdf(empty, 0, FormatLocale::english(), kA4, {}), std::runtime_error);
}

// The page's width and height as its MediaBox states them.
QSizeF mediaBox(const QByteArray& pdf) {
    const auto m = QRegularExpression("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")
                       .match(QString::fromLatin1(pdf));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

TEST(SheetPdf, AWideSheetComesOutOnALandscapePage) {
    Workbook wb = smallBook();
    EXPECT_NEAR(mediaBox(sheetToPdf(wb, 0, FormatLocale::english(), kA4, {})).width(), 595.3, 0.5);
    for (uint16_t c = 0; c < 24; ++c) wb.sheets[0].at(0, c).value = CellValue::fromText("wide");
    const QSizeF page = mediaBox(sheetToPdf(wb, 0, FormatLocale::english(), kA4, {}));
    EXPECT_NEAR(page.width(), 841.9, 0.5);
    EXPECT_NEAR(page.height(), 595.3, 0.5);
}

}  // namespace
}  // namespace tallowby::engine::print
