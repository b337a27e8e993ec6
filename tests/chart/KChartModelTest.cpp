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
    KChartModel model(800, 600);
    EXPECT_EQ(model.currentSectionRangeX(), 760);
    EXPECT_EQ(model.currentSectionRangeY(), 460);
    model.setDataList(sections(zigzagDays(300)));
    EXPECT_EQ(model.visibleCount(), 89);  // 761.5 / 8.5
    EXPECT_EQ(model.visibleStart(), 211);

    model.setDataList(sections(zigzagDays(50)));
    EXPECT_EQ(model.visibleCount(), 50);
    EXPECT_EQ(model.visibleStart(), 0);

    // A view too narrow for a single column shows nothing.
    KChartModel narrow(10, 600);
    narrow.setDataList(sections(zigzagDays(50)));
    EXPECT_EQ(narrow.visibleCount(), 0);
    EXPECT_EQ(narrow.visibleStart(), 50);
}

TEST(KChartModel, ScaleSpansTheVisibleDaysOnly) {
    KChartModel model(800, 600);  // 89 of 100 days visible
    auto days = zigzagDays(100);
    days[0] = {50, 99, 1.5f, 60, 9e9f};  // out of sight
    days[50] = {20, 30, 2, 25, 4e6f};    // the visible extremes
    model.setDataList(sections(days));
    const KChartScale s = model.scale();
    EXPECT_EQ(s.top, 30);
    EXPECT_EQ(s.bottom, 2);
    EXPECT_EQ(s.topVolume, 4e6f);
    EXPECT_FLOAT_EQ(s.y(2), 100);
    EXPECT_FLOAT_EQ(s.y(30), 560);
    EXPECT_EQ(s.x(3), 25.5f);
    EXPECT_EQ(s.centre(3), 28.5f);
    EXPECT_FLOAT_EQ(s.volumeHeight(2e6f), 50);
}

TEST(KChartModel, PriceAtAHeightIsClampedToTheVisibleRange) {
    KChartModel model(400, 240);  // price area 100 high
    model.setDataList(sections({{10, 20, 10, 15, 1}, {15, 20, 10, 12, 1}}));
    for (const auto& [y, price] : std::initializer_list<std::pair<float, const char*>>{
             {0, "10.00"}, {100, "10.00"}, {150, "15.00"}, {200, "20.00"}, {500, "20.00"}})
        EXPECT_EQ(model.currentPriceOfY(y), price) << y;
    KChartModel empty(400, 240);
    EXPECT_EQ(empty.currentPriceOfY(150), "10000.00");
}

TEST(KChartModel, BodiesAreLaidOutForVisibleDaysOnly) {
    KChartModel model(800, 600);
    model.setDataList(sections(zigzagDays(200)));
    const int start = model.visibleStart();
    const KChartScale s = model.scale();
    const KSection& rising = model.dataList()[start + 1];
    ASSERT_GT(rising.closePrice, rising.openPrice);
    EXPECT_EQ(rising.sectionRect.x, s.x(1));
    EXPECT_EQ(rising.sectionRect.y, s.y(rising.openPrice));
    EXPECT_EQ(rising.sectionRect.width, 7);
    EXPECT_FLOAT_EQ(rising.sectionRect.top(), s.y(rising.closePrice));
    const KSection& falling = model.dataList()[start];
    ASSERT_LT(falling.closePrice, falling.openPrice);
    EXPECT_EQ(falling.sectionRect.y, s.y(falling.closePrice));
    EXPECT_TRUE(model.dataList()[start - 1].sectionRect.isZero());

    // Zooming in drops older days from view; they can no longer be pointed at.
    ASSERT_TRUE(model.setZoomLevel(10));
    for (int i = 0; i < model.visibleStart(); ++i)
        EXPECT_TRUE(model.dataList()[i].sectionRect.isZero()) << i;

    // All prices equal: nothing can be placed.
    model.setDataList(sections({{10, 10, 10, 10, 5}, {10, 10, 10, 10, 5}}));
    EXPECT_TRUE(model.scale().isFlat());
    for (const KSection& d : model.dataList()) EXPECT_TRUE(d.sectionRect.isZero());
}
