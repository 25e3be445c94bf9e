// Where the printed range lands on its page: scale, orientation, margins,
// centring and paper. Expected figures are worked out by hand in points.
#include "workbook/engine/print/page_layout.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <initializer_list>
#include <utility>

#include "workbook/engine/print/locale_paper.h"

namespace tallowby::engine::print {
namespace {

PageSetup halfInchMargins() {
    PageSetup p;
    p.leftMarginInches = p.rightMarginInches = p.topMarginInches = p.bottomMarginInches = 0.5;
    return p;
}

PageSetup fitToOnePageWide() {
    PageSetup p = halfInchMargins();
    p.setup = PrintSetup{};
    p.setup->fitWidthPages = 1;
    p.setup->fitHeightPages = 0;
    p.sheetOptions = 0x05C1;
    return p;
}

// A layout's expected orientation and some of its figures, each named by the
// member that holds it.
using Figure = std::pair<double PageLayout::*, double>;

void expectLayout(const PageLayout& l, bool landscape, std::initializer_list<Figure> figures) {
    EXPECT_EQ(l.landscape, landscape);
    for (const auto& [member, expected] : figures) {
        EXPECT_DOUBLE_EQ(l.*member, expected);
    }
}

// Letter with half-inch margins leaves 540 x 720 pt upright, 720 x 540 lying.

TEST(PageLayout, ARangeThatFitsIsPrintedAtFullSizeAtTheMargins) {
    expectLayout(layoutPage(500, 600, kLetter, halfInchMargins()), false,
                 {{&PageLayout::pageWidthPt, 612},
                  {&PageLayout::pageHeightPt, 792},
                  {&PageLayout::scale, 1.0},
                  {&PageLayout::leftPt, 36},
                  {&PageLayout::topPt, 36},
                  {&PageLayout::widthPt, 500},
                  {&PageLayout::heightPt, 600}});
}

TEST(PageLayout, CentringSharesTheRoomLeftBetweenTheMargins) {
    PageSetup p = halfInchMargins();
    p.centreHorizontally = true;
    PageLayout l = layoutPage(500, 600, kLetter, p);
    EXPECT_DOUBLE_EQ(l.leftPt, 56);  // 36 + (540 - 500) / 2
    EXPECT_DOUBLE_EQ(l.topPt, 36);
    p.centreVertically = true;
    l = layoutPage(500, 600, kLetter, p);
    EXPECT_DOUBLE_EQ(l.topPt, 96);  // 36 + (720 - 600) / 2
    p.leftMarginInches = 1.5;       // 108 pt on the left, 36 on the right: 468 pt of room
    l = layoutPage(300, 600, kLetter, p);
    EXPECT_DOUBLE_EQ(l.leftPt, 192);  // 108 + (468 - 300) / 2
}

TEST(PageLayout, AWiderRangeIsScaledDownToTheWidthAndStaysUpright) {
    // 600 wide: 0.9 upright; lying it would be limited by its height, 540 / 700.
    expectLayout(
        layoutPage(600, 700, kLetter, fitToOnePageWide()), false,
        {{&PageLayout::scale, 0.9}, {&PageLayout::widthPt, 540}, {&PageLayout::heightPt, 630}});
}

TEST(PageLayout, TheLandscapePageIsTakenWhenItPrintsTheRangeLarger) {
    // 1080 x 300: upright 540 / 1080 = 0.5; lying min(720 / 1080, 540 / 300) = 2/3.
    const PageLayout l = layoutPage(1080, 300, kLetter, fitToOnePageWide());
    EXPECT_TRUE(l.landscape);
    EXPECT_DOUBLE_EQ(l.pageWidthPt, 792);
    EXPECT_DOUBLE_EQ(l.pageHeightPt, 612);
    EXPECT_NEAR(l.scale, 2.0 / 3.0, 1e-12);
    EXPECT_NEAR(l.widthPt, 720, 1e-9);
    EXPECT_NEAR(l.heightPt, 200, 1e-9);
}

TEST(PageLayout, ALandscapeSheetStaysLandscapeWhenBothFit) {
    PageSetup p = halfInchMargins();
    p.setup = PrintSetup{};
    p.setup->flags = 0x0000;  // landscape
    EXPECT_TRUE(layoutPage(300, 300, kLetter, p).landscape);
    p.setup->flags = 0x0002;
    EXPECT_FALSE(layoutPage(300, 300, kLetter, p).landscape);
    // A tall range turns a landscape sheet upright: lying min(720 / 400,
    // 540 / 1000) = 0.54; upright min(540 / 400, 720 / 1000) = 0.72.
    p.setup->flags = 0x0000;
    const PageLayout tall = layoutPage(400, 1000, kLetter, p);
    EXPECT_FALSE(tall.landscape);
    EXPECT_DOUBLE_EQ(tall.scale, 0.72);
}

TEST(PageLayout, ATallerRangeIsScaledToStayOnOnePage) {
    // 500 x 1440 upright: 720 / 1440 = 0.5; lying 540 / 1440 = 0.375.
    expectLayout(layoutPage(500, 1440, kLetter, fitToOnePageWide()), false,
                 {{&PageLayout::scale, 0.5}});
}

TEST(PageLayout, TheSheetsOwnScaleAppliesUnlessItFitsToPages) {
    PageSetup p = halfInchMargins();
    p.setup = PrintSetup{};
    p.setup->scalePercent = 50;
    EXPECT_DOUBLE_EQ(layoutPage(500, 600, kLetter, p).scale, 0.5);
    p.sheetOptions = 0x0100;  // fit to pages: the scale is not used
    EXPECT_DOUBLE_EQ(layoutPage(500, 600, kLetter, p).scale, 1.0);
    p.sheetOptions = 0;
    p.setup->flags = 0x0004;  // scale and orientation not set
    EXPECT_DOUBLE_EQ(layoutPage(500, 600, kLetter, p).scale, 1.0);
    p.setup->flags = 0x0002;
    p.setup->scalePercent = 150;  // enlarged, but still within the page
    EXPECT_DOUBLE_EQ(layoutPage(200, 300, kLetter, p).scale, 1.5);
    p.setup->scalePercent = 5;  // below what programs accept: taken as 100 %
    EXPECT_DOUBLE_EQ(layoutPage(200, 300, kLetter, p).scale, 1.0);
}

TEST(PageLayout, MissingMarginsTakeTheDefaults) {
    // 0.75 in left and right, 1 in top and bottom: 504 x 648 pt of room
    // upright (0.5 for 1008 x 1296), 684 x 468 lying (0.36).
    expectLayout(layoutPage(504 * 2, 1296, kLetter, PageSetup{}), false,
                 {{&PageLayout::scale, 0.5}, {&PageLayout::leftPt, 54}, {&PageLayout::topPt, 72}});
}

TEST(PageLayout, A4Pages) {
    // A4 is 595.28 x 841.89 pt; with half-inch margins 523.28 pt of width.
    const PageLayout l = layoutPage(1046.5512, 100, kA4, fitToOnePageWide());
    EXPECT_TRUE(l.landscape);  // lying: 769.89 / 1046.55 beats 523.28 / 1046.55
    EXPECT_NEAR(l.scale, (841.8898 - 72) / 1046.5512, 1e-9);
    EXPECT_DOUBLE_EQ(l.pageWidthPt, 841.8898);
}

TEST(PaperSizes, ByTheCodesOfTheSetupRecord) {
    EXPECT_EQ(paperForCode(1), kLetter);
    EXPECT_EQ(paperForCode(9), kA4);
    EXPECT_NEAR(paperForCode(9)->widthPt, 210 / 25.4 * 72, 1e-3);
    EXPECT_NEAR(paperForCode(9)->heightPt, 297 / 25.4 * 72, 1e-3);
    EXPECT_NEAR(paperForCode(8)->widthPt, 297 / 25.4 * 72, 1e-9);
    EXPECT_EQ(paperForCode(5), (PaperSize{612, 1008}));  // Legal, 8.5 x 14 in
    EXPECT_FALSE(paperForCode(0));
    EXPECT_FALSE(paperForCode(400));
}

TEST(PaperSizes, TheLocalesDefault) {
    EXPECT_EQ(paperForLocale(QLocale(QStringLiteral("en_US"))), kLetter);
    EXPECT_EQ(paperForLocale(QLocale(QStringLiteral("en_CA"))), kLetter);
    EXPECT_EQ(paperForLocale(QLocale(QStringLiteral("fr_CA"))), kLetter);
    EXPECT_EQ(paperForLocale(QLocale(QStringLiteral("es_MX"))), kLetter);
    EXPECT_EQ(paperForLocale(QLocale(QStringLiteral("en_GB"))), kA4);
    EXPECT_EQ(paperForLocale(QLocale(QStringLiteral("de_DE"))), kA4);
    EXPECT_EQ(paperForLocale(QLocale(QStringLiteral("fr_FR"))), kA4);
    EXPECT_EQ(paperForLocale(QLocale::c()), kA4);
}

}  // namespace
}  // namespace tallowby::engine::print
