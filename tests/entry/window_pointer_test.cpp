#include "entry/window_pointer.h"

#include <gtest/gtest.h>

#include "ui/twips.h"

namespace tallowby {
namespace {

TEST(WindowPointer, ButtonsGiveTheHandResettingAreasTheArrowOthersNothing) {
    for (auto from : {WindowPointer::Arrow, WindowPointer::Hand}) {
        EXPECT_EQ(pointerAfterHover(from, HoverZone::Button), WindowPointer::Hand);
        EXPECT_EQ(pointerAfterHover(from, HoverZone::Resetting), WindowPointer::Arrow);
        EXPECT_EQ(pointerAfterHover(from, HoverZone::Neutral), from);
    }
}

TEST(WindowPointer, TheHourglassIsNeverReplaced) {
    for (auto zone : {HoverZone::Button, HoverZone::Resetting, HoverZone::Neutral})
        EXPECT_EQ(pointerAfterHover(WindowPointer::Hourglass, zone), WindowPointer::Hourglass);
}

TEST(Twips, FifteenToThePixelHalvesToEven) {
    EXPECT_EQ(twipsToPixels(9360), 624);
    EXPECT_EQ(twipsToPixels(9870), 658);
    EXPECT_EQ(twipsToPixels(345), 23);
    EXPECT_EQ(twipsToPixels(4665), 311);
    EXPECT_EQ(twipsToPixels(225), 15);
    EXPECT_EQ(twipsToPixels(1245), 83);
    EXPECT_EQ(twipsToPixels(7), 0);  // 0.47
    EXPECT_EQ(twipsToPixels(8), 1);  // 0.53
    EXPECT_EQ(twipsToPixels(1695), 113);
    // Halves go to the even pixel, in both directions: the preview's
    // picture positions are negative while it is panned.
    EXPECT_EQ(twipsToPixels(22.5), 2);  // 1.5
    EXPECT_EQ(twipsToPixels(37.5), 2);  // 2.5
    EXPECT_EQ(twipsToPixels(-37.5), -2);
    EXPECT_EQ(twipsToPixels(-1230), -82);
    EXPECT_EQ(twipsToPixels(1e300), INT_MAX);
    EXPECT_EQ(twipsRect(120, 630, 4560, 405), QRect(8, 42, 304, 27));
}

}  // namespace
}  // namespace tallowby
