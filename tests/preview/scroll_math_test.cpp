#include "preview/scroll_math.h"

#include <gtest/gtest.h>

using namespace tallowby::preview;

namespace {
BarSetup barForDifference(int difference) {
    return setupBar(kViewportOuterWidth + difference, kViewportOuterWidth);
}
}  // namespace

TEST(SetupBar, PictureNoLargerThanTheViewportDisablesTheBar) {
    const BarSetup same = setupBar(kViewportOuterWidth, kViewportOuterWidth);
    EXPECT_FALSE(same.enabled);
    EXPECT_EQ(same.step, 0);
    EXPECT_FALSE(setupBar(100, kViewportOuterWidth).enabled);
    // Wider than the inner area but not than the outer one: no bar either.
    EXPECT_FALSE(setupBar(kViewportInnerWidth + 10, kViewportOuterWidth).enabled);
}

TEST(SetupBar, UpToOneHundredTwipsScrollOneTwipPerStep) {
    BarSetup bar = barForDifference(60);
    EXPECT_TRUE(bar.enabled);
    EXPECT_EQ(bar.step, 1);
    EXPECT_EQ(bar.maximum, 60);
    bar = barForDifference(100);
    EXPECT_EQ(bar.step, 1);
    EXPECT_EQ(bar.maximum, 100);
    bar = barForDifference(1);
    EXPECT_EQ(bar.step, 1);
    EXPECT_EQ(bar.maximum, 1);
}

TEST(SetupBar, LargerDifferencesScrollTenTwipsPerStep) {
    EXPECT_EQ(barForDifference(101).step, 10);
    EXPECT_EQ(barForDifference(101).maximum, 10);
    EXPECT_EQ(barForDifference(105).maximum, 10);  // 10.5, halves to even
    EXPECT_EQ(barForDifference(115).maximum, 12);  // 11.5
    EXPECT_EQ(barForDifference(125).maximum, 12);  // 12.5
    EXPECT_EQ(barForDifference(3000).maximum, 300);
}

TEST(SetupBar, MaximumStaysWithinSixteenBits) {
    const BarSetup bar = barForDifference(1000000);
    EXPECT_EQ(bar.step, 10);
    EXPECT_EQ(bar.maximum, kBarLimit);
}

// A picture 3000 twips wider than the viewport: its bar has step 10 and
// maximum 300.
class Panning : public ::testing::Test {
  protected:
    static constexpr float kWideWidth = kViewportOuterWidth + 3000;

    // Where a drag from `grab` to `pointer` puts the wide picture's left edge.
    static float dragWide(float left, float grab, float pointer) {
        return dragPosition(left, grab, pointer, kWideWidth, kViewportInnerWidth);
    }
    // A drag from the home position that must end at `expectedLeft`; the
    // percentage the release then sets the bar to.
    static std::optional<int> dragFromHomeAndRelease(float grab, float pointer,
                                                     float expectedLeft) {
        const float left = dragWide(0, grab, pointer);
        EXPECT_FLOAT_EQ(left, expectedLeft);
        return releasePercent(left, kWideWidth, kViewportOuterWidth);
    }
};

TEST_F(Panning, DragReleaseAndBarOfAWidePicture) {
    const auto percent = dragFromHomeAndRelease(1500, 266, -1234);
    ASSERT_TRUE(percent);
    EXPECT_EQ(*percent, 41);
    const auto value = barValueForPercent(*percent, 300);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, 123);
    EXPECT_EQ(positionForBarValue(10, *value), -1230);
}

TEST_F(Panning, DraggedAllTheWayTheBarStaysWhereItIs) {
    const auto percent = dragFromHomeAndRelease(5000, 0, -3030);
    ASSERT_TRUE(percent);
    EXPECT_EQ(*percent, 101);
    EXPECT_FALSE(barValueForPercent(*percent, 300));  // 303 > 300
}

TEST_F(Panning, TheNearSideNeverShowsAGap) {
    EXPECT_FLOAT_EQ(dragWide(-100, 10, 500), 0);
    EXPECT_FLOAT_EQ(dragWide(-100, 10, 60), -50);
}

TEST_F(Panning, ANarrowPictureJumpsBetweenTheTwoSides) {
    const float width = 5000;
    const float right = dragPosition(0, 100, 50, width, kViewportInnerWidth);
    EXPECT_FLOAT_EQ(right, kViewportInnerWidth - width);
    EXPECT_FLOAT_EQ(dragPosition(right, 100, 200, width, kViewportInnerWidth), 0);
    // Its percentage is negative, and negative percentages are ignored.
    const auto percent = releasePercent(right, width, kViewportOuterWidth);
    ASSERT_TRUE(percent);
    EXPECT_LT(*percent, 0);
    EXPECT_FALSE(barValueForPercent(*percent, 300));
}

TEST_F(Panning, FineBarMovesOneTwipPerStep) {
    EXPECT_EQ(positionForBarValue(1, 37), -37);
    EXPECT_EQ(positionForBarValue(10, 1), -10);
    EXPECT_EQ(positionForBarValue(0, 250), 0);
}

TEST(ReleasePercent, PictureExactlyAsLargeAsTheViewportLeavesTheBarAlone) {
    EXPECT_FALSE(releasePercent(0, kViewportOuterWidth, kViewportOuterWidth));
    EXPECT_FALSE(releasePercent(-30, kViewportOuterWidth, kViewportOuterWidth));
}

TEST(ReleasePercent, RoundsHalvesToEvenAndRejectsHugeValues) {
    const float width = kViewportOuterWidth + 200;
    EXPECT_EQ(releasePercent(-1, width, kViewportOuterWidth), 0);  // 0.5
    EXPECT_EQ(releasePercent(-3, width, kViewportOuterWidth), 2);  // 1.5
    EXPECT_EQ(releasePercent(0, width, kViewportOuterWidth), 0);
    EXPECT_FALSE(releasePercent(-40000, kViewportOuterWidth + 1, kViewportOuterWidth));
}

TEST(BarValueForPercent, RoundsHalvesToEvenWithinTheMaximum) {
    EXPECT_EQ(barValueForPercent(50, 5), 2);  // 2.5
    EXPECT_EQ(barValueForPercent(70, 5), 4);  // 3.5
    EXPECT_EQ(barValueForPercent(100, 300), 300);
    EXPECT_EQ(barValueForPercent(0, 300), 0);
    EXPECT_FALSE(barValueForPercent(-1, 300));
    EXPECT_FALSE(barValueForPercent(101, 300));
}
