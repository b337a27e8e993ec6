#include "orvane/chart/KWindowPlacement.h"

#include <gtest/gtest.h>

using namespace orvane::chart;

TEST(KWindowPlacement, FramesAreMovedAndShrunkIntoTheArea) {
    const QRect area(0, 30, 1024, 570);  // a 1024 × 600 screen under a 30-pixel panel
    const struct {
        QRect frame, fitted;
    } cases[] = {
        {{100, 100, 800, 400}, {100, 100, 800, 400}},   // inside: unchanged
        {{-50, 0, 800, 400}, {0, 30, 800, 400}},        // off the top-left corner
        {{900, 500, 800, 400}, {224, 200, 800, 400}},   // off the bottom-right
        {{100, 100, 1100, 650}, {0, 30, 1024, 570}},    // larger than the area
        {{2000, -900, 300, 200}, {724, 30, 300, 200}},  // on a screen no longer there
    };
    for (const auto& c : cases) EXPECT_EQ(fitInsideArea(c.frame, area), c.fitted) << c.frame.x();
    EXPECT_EQ(centreInArea({0, 0, 400, 300}, area), QRect(312, 165, 400, 300));
    EXPECT_EQ(centreInArea({0, 0, 1400, 300}, area), QRect(0, 165, 1024, 300));
}
