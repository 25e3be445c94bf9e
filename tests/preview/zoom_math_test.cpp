#include "preview/zoom_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

using namespace tallowby::preview;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(10.49), 10);
    EXPECT_EQ(roundHalfEven(10.51), 11);
}

TEST(RoundHalfEven, AbsurdValuesStayInRange) {
    EXPECT_EQ(roundHalfEven(1e20), INT_MAX);
    EXPECT_EQ(roundHalfEven(-1e20), INT_MIN);
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
}

TEST(BaseSize, IsTheHolderInnerSizeLessTwo) {
    // A 600-pixel picture: holder 9000 twips outside, 8940 inside.
    EXPECT_EQ(baseSize(9000 - kHolderBorders), 8938);
    EXPECT_EQ(baseSize(10.5), 8);   // 8.5 rounds to even
    EXPECT_EQ(baseSize(11.5), 10);  // 9.5 rounds to even
}

TEST(ScaledSize, IsFloorOfTheProduct) {
    EXPECT_EQ(scaledSize(1001, 0.25f), 250);  // 250.25
    EXPECT_EQ(scaledSize(8000, 1.5f), 12000);
    EXPECT_EQ(scaledSize(8000, 1.75f), 14000);
    EXPECT_EQ(scaledSize(4243, 1.75f), 7425);  // 7425.25
    EXPECT_EQ(scaledSize(-62, 0.25f), -16);    // a missing picture gives a negative base
}

TEST(DrawLimits, TheLimitsThemselvesAreTooLarge) {
    EXPECT_TRUE(withinDrawLimits(12499, 11399));
    EXPECT_FALSE(withinDrawLimits(12500, 100));
    EXPECT_FALSE(withinDrawLimits(100, 11400));
    EXPECT_TRUE(withinDrawLimits(0, 0));
}

TEST(DrawLimits, BaseEightThousandBySixThousand) {
    std::vector<float> drawn;
    for (float zoom : {1.0f, 1.25f, 1.5f, 1.75f})
        if (withinDrawLimits(scaledSize(8000, zoom), scaledSize(6000, zoom))) drawn.push_back(zoom);
    EXPECT_EQ(drawn, (std::vector<float>{1.0f, 1.25f, 1.5f}));
}

TEST(ZoomStep, WalksInQuarterStepsBetweenTheLimits) {
    float zoom = 1.0f;
    std::vector<float> seen;
    for (int i = 0; i < 8; ++i) {
        const float next = zoomCandidate(zoom, 0);
        if (zoomAccepted(next)) zoom = next;
        seen.push_back(zoom);
    }
    EXPECT_EQ(seen, (std::vector<float>{1.25f, 1.5f, 1.75f, 2.0f, 2.25f, 2.25f, 2.25f, 2.25f}));

    seen.clear();
    for (int i = 0; i < 10; ++i) {
        const float next = zoomCandidate(zoom, 1);
        if (zoomAccepted(next)) zoom = next;
        seen.push_back(zoom);
    }
    EXPECT_EQ(seen, (std::vector<float>{2.0f, 1.75f, 1.5f, 1.25f, 1.0f, 0.75f, 0.5f, 0.25f, 0.25f,
                                        0.25f}));
}

TEST(ZoomStep, AnyNonZeroOutMeansOut) {
    EXPECT_EQ(zoomCandidate(1.0f, 1), 0.75f);
    EXPECT_EQ(zoomCandidate(1.0f, -3), 0.75f);
    EXPECT_EQ(zoomCandidate(1.0f, 0), 1.25f);
}

TEST(ZoomStep, BothLimitsAreIncluded) {
    EXPECT_TRUE(zoomAccepted(0.25f));
    EXPECT_TRUE(zoomAccepted(2.25f));
    EXPECT_FALSE(zoomAccepted(0.0f));
    EXPECT_FALSE(zoomAccepted(2.5f));
}

TEST(DrawLimits, GrowWithTheViewportAndNeverShrink) {
    const DrawLimits designed = drawLimitsFor(9300, 7395);
    EXPECT_EQ(designed.width, 12500);
    EXPECT_EQ(designed.height, 11400);
    const DrawLimits small = drawLimitsFor(4000, 3000);
    EXPECT_EQ(small.width, 12500);
    EXPECT_EQ(small.height, 11400);
    // Twice as wide and one and a half times as high.
    const DrawLimits large = drawLimitsFor(18600, 11092);
    EXPECT_EQ(large.width, 25000);
    EXPECT_EQ(large.height, 17099);  // floor(11400 * 11092 / 7395 = 17099.2)
    // The sample's fourteen rate columns (16065 twips wide) are past the
    // designed limit and within a maximised window's.
    EXPECT_FALSE(withinDrawLimits(16065, 8500, designed));
    EXPECT_TRUE(withinDrawLimits(16065, 8500, large));
}

TEST(ZoomStep, FromBetweenTwoStepsGoesToTheNextStep) {
    EXPECT_EQ(zoomCandidate(1.16f, 0), 1.25f);
    EXPECT_EQ(zoomCandidate(1.16f, 1), 1.0f);
    EXPECT_EQ(zoomCandidate(0.3f, 1), 0.25f);
    EXPECT_EQ(zoomCandidate(2.2f, 0), 2.25f);
    EXPECT_EQ(zoomCandidate(0.26f, 1), 0.25f);
}

TEST(FitZoom, TheScaledPictureFillsTheRoomWithoutPassingIt) {
    for (int base : {9238, 16003, 777, 12345}) {
        for (int room : {9300, 7395, 18600, 3001}) {
            const float zoom = fitZoom(base, room);
            if (zoom == kMinZoom || zoom == kMaxZoom) continue;
            EXPECT_LE(scaledSize(base, zoom), room) << base << " " << room;
            EXPECT_GE(scaledSize(base, zoom), room - 1) << base << " " << room;
        }
    }
    EXPECT_EQ(fitZoom(100, 10000), kMaxZoom);
    EXPECT_EQ(fitZoom(100000, 100), kMinZoom);
    EXPECT_EQ(fitZoom(0, 100), 1.0f);
}

TEST(ZoomFactorText, AWholePercentage) {
    EXPECT_EQ(zoomFactorText(1.0f), QString("100 %"));
    EXPECT_EQ(zoomFactorText(1.25f), QString("125 %"));
    EXPECT_EQ(zoomFactorText(0.25f), QString("25 %"));
    EXPECT_EQ(zoomFactorText(1.1614f), QString("116 %"));
}
