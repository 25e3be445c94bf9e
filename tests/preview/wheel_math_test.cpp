#include "preview/wheel_math.h"

#include <gtest/gtest.h>

#include <Qt>

using namespace tallowby::preview;

TEST(WheelMath, OneNotchMovesThreeSheetLines) {
    // 3 lines of 300 twips, the view moving up for a turn away from the user.
    EXPECT_EQ(twipsForWheel(120), -900);
    EXPECT_EQ(twipsForWheel(-120), 900);
    EXPECT_EQ(twipsForWheel(-240), 1800);
    // A fine-grained wheel reporting an eighth of a notch moves an eighth as far.
    EXPECT_EQ(twipsForWheel(-15), 113);  // 112.5, halves away from zero
    EXPECT_EQ(twipsForWheel(0), 0);
}

TEST(WheelMath, TwipsBecomeBarValuesOfTheBarsStep) {
    EXPECT_EQ(barValuesForTwips(900, 10), 90);
    EXPECT_EQ(barValuesForTwips(-900, 10), -90);
    EXPECT_EQ(barValuesForTwips(900, 1), 900);
    // Any movement moves the bar by at least one value.
    EXPECT_EQ(barValuesForTwips(3, 10), 1);
    EXPECT_EQ(barValuesForTwips(-3, 10), -1);
    // A bar whose step is 0 moves nothing, whatever the movement.
    EXPECT_EQ(barValuesForTwips(900, 0), 0);
    EXPECT_EQ(barValuesForTwips(0, 10), 0);
    // Never beyond a bar's 16-bit range.
    EXPECT_EQ(barValuesForTwips(2'000'000'000, 1), 32767);
    EXPECT_EQ(barValuesForTwips(-2'000'000'000, 1), -32767);
}

TEST(WheelMath, NotchesAreCountedWholeAndPartsWait) {
    NotchCounter counter;
    EXPECT_EQ(counter.add(120), 1);
    EXPECT_EQ(counter.add(-240), -2);
    EXPECT_EQ(counter.add(60), 0);
    EXPECT_EQ(counter.add(60), 1);  // two halves make one
    EXPECT_EQ(counter.add(90), 0);
    // Turning back drops the part collected the other way.
    EXPECT_EQ(counter.add(-60), 0);
    EXPECT_EQ(counter.add(-60), -1);
}

TEST(WheelMath, ArrowsMoveALinePageKeysAViewportLessALine) {
    const auto down = scrollForKey(Qt::Key_Down);
    ASSERT_TRUE(down);
    EXPECT_FALSE(down->horizontal);
    EXPECT_EQ(down->twips, 300);
    EXPECT_EQ(scrollForKey(Qt::Key_Up)->twips, -300);
    EXPECT_TRUE(scrollForKey(Qt::Key_Left)->horizontal);
    EXPECT_EQ(scrollForKey(Qt::Key_Left)->twips, -300);
    EXPECT_EQ(scrollForKey(Qt::Key_Right)->twips, 300);
    // The viewport's inner height is 7425 - 30 twips.
    EXPECT_EQ(scrollForKey(Qt::Key_PageDown)->twips, 7395 - 300);
    EXPECT_EQ(scrollForKey(Qt::Key_PageUp)->twips, -(7395 - 300));
    EXPECT_FALSE(scrollForKey(Qt::Key_PageUp)->horizontal);
    EXPECT_FALSE(scrollForKey(Qt::Key_A));
    EXPECT_FALSE(scrollForKey(Qt::Key_Home));
}
