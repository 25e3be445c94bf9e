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
