#include "orvane/chart/KChartModel.h"

#include <gtest/gtest.h>

#include "ChartFixtures.h"

using namespace orvane::chart;
using namespace orvane::chart::test;

TEST(KChartModel, ZoomStaysInsideItsRangeAndColumnsAreWholePixels) {
    KChartModel model(800, 600);
    EXPECT_EQ(model.sectionWidth(), 7);  // at the default 3.5
    // {level asked, accepted, column width after}: widths are truncated.
    const std::tuple<float, bool, int> steps[] = {{0.5f, true, 1}, {10, true, 20},
                                                  {0, false, 20},  {10.5f, false, 20},
                                                  {-1, false, 20}, {1.75f, true, 3}};
    for (const auto& [level, accepted, width] : steps) {
        EXPECT_EQ(model.setZoomLevel(level), accepted) << level;
        EXPECT_EQ(model.sectionWidth(), width) << level;
    }
}

TEST(KChartModel, VisibleWindowEndsAtTheNewestDay) {
    // {view width, days, visible, first visible}: 761.5 / 8.5 columns fit in 800.
    const int cases[][4] = {{800, 300, 89, 211}, {800, 50, 50, 0}, {10, 50, 0, 50}};
    for (const auto& [width, days, visible, start] : cases) {
        KChartModel model(static_cast<float>(width), 600);
        model.setDataList(sections(zigzagDays(days)));
        EXPECT_EQ(std::pair(model.visibleCount(), model.visibleStart()), std::pair(visible, start));
    }
}

TEST(KChartModel, ScaleSpansTheVisibleDaysOnly) {
    KChartModel model(800, 600);  // 89 of 100 days visible
    auto days = zigzagDays(100);
    days[0] = {50, 99, 1.5f, 60, 9e9f};  // out of sight
    days[50] = {20, 30, 2, 25, 4e6f};    // the visible extremes
    model.setDataList(sections(days));
    const KChartScale s = model.scale();
    EXPECT_EQ(std::tuple(s.top, s.bottom, s.topVolume), std::tuple(30.0f, 2.0f, 4e6f));
    EXPECT_FLOAT_EQ(s.y(2), 100);
    EXPECT_FLOAT_EQ(s.y(30), 560);
}

TEST(KChartModel, PriceAtAHeightIsClampedToTheVisibleRange) {
    KChartModel model(400, 240);  // price area 100 high
    model.setDataList(sections({{10, 20, 10, 15, 1}, {15, 20, 10, 12, 1}}));
    for (const auto& [y, price] : std::initializer_list<std::pair<float, const char*>>{
             {0, "10.00"}, {100, "10.00"}, {150, "15.00"}, {200, "20.00"}, {500, "20.00"}})
        EXPECT_EQ(model.currentPriceOfY(y), price) << y;
}

TEST(KChartModel, BodiesAreLaidOutForVisibleDaysOnly) {
    KChartModel model(800, 600);
    model.setDataList(sections(zigzagDays(200)));
    // Zooming in drops older days from view; they can no longer be pointed at.
    ASSERT_TRUE(model.setZoomLevel(10));
    for (int i = 0; i < model.visibleStart(); ++i)
        EXPECT_TRUE(model.dataList()[i].sectionRect.isZero());
    // All prices equal: nothing can be placed.
    model.setDataList(sections({{10, 10, 10, 10, 5}, {10, 10, 10, 10, 5}}));
    for (const KSection& d : model.dataList()) EXPECT_TRUE(d.sectionRect.isZero());
}
