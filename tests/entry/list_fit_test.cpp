#include "entry/list_fit.h"

#include <gtest/gtest.h>

using tallowby::list_fit::fitColumns;

TEST(ListFit, SpareWidthIsSharedInProportionToThePreferredWidths) {
    // Content 100 + 50 + 30 = 180 of 480: 300 to share as 280 : 187 : 96.
    const QList<int> widths = fitColumns({100, 50, 30, 0, 0}, {280, 187, 96, 0, 0}, 480);
    EXPECT_EQ(widths[0], 100 + 300 * 280 / 563);
    EXPECT_EQ(widths[1], 50 + 300 * 187 / 563);
    EXPECT_EQ(widths[2], 30 + 300 * 96 / 563);
    EXPECT_EQ(widths[3], 0);  // hidden columns stay out of it
    EXPECT_EQ(widths[4], 0);
    EXPECT_LE(widths[0] + widths[1] + widths[2], 480);
    EXPECT_GE(widths[0] + widths[1] + widths[2], 478);  // floors lose at most one each
}

TEST(ListFit, ContentWiderThanTheListKeepsItsOwnWidths) {
    const QList<int> widths = fitColumns({300, 200, 100}, {280, 187, 96}, 553);
    EXPECT_EQ(widths, (QList<int>{300, 200, 100}));
}

TEST(ListFit, NoColumnIsNarrowerThanItsContent) {
    // The designed widths would cut the first column's 290 pixels to 280.
    const QList<int> widths = fitColumns({290, 90, 50}, {280, 187, 96}, 553);
    EXPECT_GE(widths[0], 290);
    EXPECT_GE(widths[1], 90);
    EXPECT_GE(widths[2], 50);
    EXPECT_LE(widths[0] + widths[1] + widths[2], 553);
}
