#include "app/window_placement.h"

#include <gtest/gtest.h>

using tallowby::window_placement::centredFrame;
using tallowby::window_placement::fitFrame;

TEST(WindowPlacement, AFrameThatFitsIsCentredWhole) {
    EXPECT_EQ(centredFrame({624, 658}, {0, 0, 1280, 1024}), QRect(328, 183, 624, 658));
    // A panel at the top: the available area starts lower.
    EXPECT_EQ(centredFrame({600, 400}, {0, 30, 1000, 800}), QRect(200, 230, 600, 400));
}

TEST(WindowPlacement, ATallerFrameThanTheScreenIsShrunkAndStartsAtItsTop) {
    // 1280 x 1024 at scale factor 2: 640 x 512 logical pixels.
    const QRect frame = centredFrame({656, 700}, {0, 0, 640, 512});
    EXPECT_EQ(frame, QRect(0, 0, 640, 512));
    EXPECT_EQ(centredFrame({300, 700}, {0, 24, 640, 488}), QRect(170, 24, 300, 488));
}

TEST(WindowPlacement, AFrameReachingPastAnEdgeMovesTheLeastDistance) {
    const QRect available(0, 0, 1280, 1024);
    EXPECT_EQ(fitFrame({1000, 900, 400, 300}, available), QRect(880, 724, 400, 300));
    EXPECT_EQ(fitFrame({-50, -20, 400, 300}, available), QRect(0, 0, 400, 300));
    EXPECT_EQ(fitFrame({100, 100, 400, 300}, available), QRect(100, 100, 400, 300));
    // On a second screen to the right the frame stays on that screen.
    EXPECT_EQ(fitFrame({1200, 100, 400, 300}, {1280, 0, 1920, 1080}), QRect(1280, 100, 400, 300));
}

TEST(WindowPlacement, NoAvailableAreaLeavesTheFrameAlone) {
    EXPECT_EQ(fitFrame({10, 10, 400, 300}, QRect()), QRect(10, 10, 400, 300));
}

using tallowby::window_placement::parsePlace;
using tallowby::window_placement::placeText;
using tallowby::window_placement::WindowPlace;

TEST(WindowPlacement, APlaceSurvivesItsStoredText) {
    const WindowPlace normal{{40, 60, 800, 700}, false};
    EXPECT_EQ(placeText(normal), QString("40,60,800,700"));
    const auto back = parsePlace(placeText(normal));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->normal, normal.normal);
    EXPECT_FALSE(back->maximized);
    const WindowPlace maximized{{-1280, 0, 656, 690}, true};
    EXPECT_EQ(placeText(maximized), QString("-1280,0,656,690,maximized"));
    const auto again = parsePlace(placeText(maximized));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->normal, maximized.normal);
    EXPECT_TRUE(again->maximized);
}

TEST(WindowPlacement, DamagedPlaceTextIsNoPlace) {
    for (const char* text : {"", "1,2,3", "1,2,3,4,5,6", "a,2,3,4", "1,2,0,4", "1,2,3,-4",
                             "1,2,3,4,minimized", "1,2,99999999,4", "1.5,2,3,4"})
        EXPECT_FALSE(parsePlace(QString::fromLatin1(text))) << text;
    EXPECT_TRUE(parsePlace(" 1, 2, 3, 4"));
}
