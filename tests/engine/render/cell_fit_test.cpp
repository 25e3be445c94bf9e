#include "workbook/engine/render/cell_fit.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "tests/engine/render/render_fixture.h"
#include "workbook/engine/render/cell_content.h"
#include "workbook/engine/render/sheet_fonts.h"

namespace tallowby::engine {
namespace {

using render::CellContent;
using render::cellContent;
using render::fittedText;

class CellFit : public testing::RenderTest {
  protected:
    QFontMetricsF metrics{render::toQFont(Font{})};
    FormatLocale locale = FormatLocale::english();
    CellContent contentOf(const Cell& cell) { return *cellContent(book, cell, locale); }
};

TEST_F(CellFit, GeneralNumbersShrinkBeforeHashes) {
    const CellContent content = contentOf(put(0, 0, CellValue::fromNumber(1234.56789)));
    EXPECT_EQ(fittedText(content, metrics, 200, locale), "1234.56789");
    const QString narrower = fittedText(content, metrics, 50, locale);
    EXPECT_LT(narrower.size(), 10);
    EXPECT_TRUE(narrower.startsWith("123")) << narrower.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(narrower), 50);
    const QString tiny = fittedText(content, metrics, 12, locale);
    EXPECT_TRUE(tiny.isEmpty() || tiny.count('#') == tiny.size()) << tiny.toStdString();
}

TEST_F(CellFit, FormattedNumbersBecomeHashesFillingTheWidth) {
    Xf xf;
    xf.format = 4;  // #,##0.00
    const CellContent content = contentOf(put(0, 0, CellValue::fromNumber(1234567.5), addXf(xf)));
    EXPECT_EQ(fittedText(content, metrics, 200, locale), "1,234,567.50");
    const QString hashes = fittedText(content, metrics, 30, locale);
    EXPECT_EQ(hashes.count('#'), hashes.size());
    EXPECT_GT(hashes.size(), 2);
    EXPECT_LE(metrics.horizontalAdvance(hashes), 30);
    EXPECT_GT(metrics.horizontalAdvance(hashes + "#"), 30);
}

TEST_F(CellFit, TextIsNeverReplaced) {
    const CellContent content =
        contentOf(put(0, 0, CellValue::fromText("a long text that does not fit")));
    EXPECT_EQ(fittedText(content, metrics, 10, locale), "a long text that does not fit");
}

TEST_F(CellFit, ContentKindsAndResolvedAlignment) {
    EXPECT_EQ(contentOf(put(0, 0, CellValue::fromText("t"))).align, HAlign::Left);
    EXPECT_EQ(contentOf(put(0, 0, CellValue::fromNumber(1))).align, HAlign::Right);
    EXPECT_EQ(contentOf(put(0, 0, CellValue::fromError(ErrorCode::Div0))).align, HAlign::Centre);
    EXPECT_EQ(contentOf(put(0, 0, CellValue::fromError(ErrorCode::Div0))).shown.text, "#DIV/0!");
    EXPECT_EQ(contentOf(put(0, 0, CellValue::fromBool(false))).shown.text, "FALSE");
    Xf right;
    right.hAlign = HAlign::Right;
    EXPECT_EQ(contentOf(put(0, 0, CellValue::fromText("t"), addXf(right))).align, HAlign::Right);
    EXPECT_FALSE(cellContent(book, put(0, 0, CellValue::empty()), locale).has_value());
}

TEST(SheetFonts, ArialIsDrawnWithLiberationSansAtWholePixelSizes) {
    EXPECT_EQ(render::substituteFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(render::substituteFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(render::substituteFamily("Verdana"), "Verdana");
    Font f;
    EXPECT_EQ(render::toQFont(f).pixelSize(), 13);  // 10 pt at 96 dpi
    f.heightTwips = 240;
    EXPECT_EQ(render::toQFont(f).pixelSize(), 16);
}

TEST(SheetFonts, TheSubstituteIsTheFontActuallyDrawn) {
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        GTEST_SKIP() << "Liberation Sans is not installed (Debian package fonts-liberation)";
    EXPECT_EQ(QFontInfo(render::toQFont(Font{})).family(), "Liberation Sans");
}

}  // namespace
}  // namespace tallowby::engine
