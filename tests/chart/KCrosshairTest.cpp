#include "orvane/chart/KCrosshair.h"

#include <gtest/gtest.h>

#include "ChartFixtures.h"
#include "orvane/chart/KInfoValues.h"

using namespace orvane::chart;
using namespace orvane::chart::test;

namespace {

// 800 × 600: plot width 760, 89 visible days of 200.
KChartModel chartOf(int days) {
    KChartModel model(800, 600);
    model.setDataList(sections(zigzagDays(days)));
    return model;
}

}  // namespace

TEST(KCrosshair, LinesAndLabelFollowTheFocusDaysClose) {
    KChartModel model = chartOf(200);
    model.setFocusDataIndex(150);
    const KSection& day = model.dataList()[150];
    const KRect body = day.sectionRect;
    const auto f = placeCrosshair(model, false, {0, 0}, {});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->verticalLine, (KRect{body.x + 3.5f, 0, 1, 600}));
    const float closeY = day.closePrice >= day.openPrice ? body.top() : body.y;
    EXPECT_EQ(f->horizontalLine, (KRect{0, closeY, 760, 1}));
    EXPECT_EQ(f->priceLabel, (KRect{0, closeY + 1, 40, 12}));
    EXPECT_EQ(f->priceText, infoValuesFor(day).close);
    EXPECT_FALSE(f->priceLabelRightAligned);  // left half of the view

    model.setFocusDataIndex(195);
    EXPECT_TRUE(placeCrosshair(model, false, {0, 0}, {})->priceLabelRightAligned);
}

TEST(KCrosshair, PanelTakesTheTopOfTheHalfAwayFromTheFocusDayAndNeverHidesItsCandle) {
    KChartModel model = chartOf(200);
    const float plot = model.currentSectionRangeX();
    const float priceTop = model.viewHeight() - kTopMargin;
    for (int i = model.visibleStart(); i < 200; ++i) {
        model.setFocusDataIndex(i);
        const KRect body = model.dataList()[static_cast<std::size_t>(i)].sectionRect;
        // Wherever the pointer is, even on the far side.
        for (KPoint pointer : {KPoint{0, 0}, KPoint{plot - 1, 101}, KPoint{1, 590}}) {
            const auto f = placeCrosshair(model, true, pointer, {});
            ASSERT_TRUE(f);
            SCOPED_TRACE(testing::Message() << "day " << i << " pointer " << pointer.x);
            const bool dayOnTheLeft = f->verticalLine.x < plot / 2;
            // On the left, clear of the close's label at the plot's edge.
            EXPECT_EQ(f->infoPanel.x, dayOnTheLeft ? plot - kInfoPanelWidth - 4 : 44);
            EXPECT_TRUE(f->infoPanel.x >= f->priceLabel.right() ||
                        f->infoPanel.y > f->priceLabel.top() ||
                        f->infoPanel.top() < f->priceLabel.y);
            EXPECT_EQ(f->infoPanel.top(), priceTop - 4);
            EXPECT_EQ(std::pair(f->infoPanel.width, f->infoPanel.height),
                      std::pair(kInfoPanelWidth, kInfoPanelHeight));
            EXPECT_TRUE(f->infoPanel.right() < body.x || f->infoPanel.x > body.right());
        }
    }
    // A view too low for the panel: it rests on the bottom.
    KChartModel low(800, 200);
    low.setDataList(sections(zigzagDays(50)));
    low.setFocusDataIndex(10);
    EXPECT_EQ(placeCrosshair(low, false, {0, 0}, {})->infoPanel.y, 0);
}

TEST(KCrosshair, OverTheVolumeBandTheHorizontalLineStays) {
    KChartModel model = chartOf(200);
    model.setFocusDataIndex(150);
    const KRect previous{0, 333, 760, 1};
    EXPECT_EQ(placeCrosshair(model, true, {300, 99}, previous)->horizontalLine, previous);
    EXPECT_NE(placeCrosshair(model, true, {300, 100}, previous)->horizontalLine, previous);
}

TEST(KCrosshair, PointerPicksTheColumnUnderIt) {
    KChartModel model = chartOf(200);
    const int start = model.visibleStart();
    const KRect body = model.dataList()[start + 4].sectionRect;
    EXPECT_EQ(dayAtPointer(model, {body.x, 1}), start + 4);           // left edge, over the volume
    EXPECT_EQ(dayAtPointer(model, {body.x + 6.9f, 599}), start + 4);  // near the top
    EXPECT_EQ(dayAtPointer(model, {body.right(), 300}), -1);          // the gap
    EXPECT_EQ(dayAtPointer(model, {770, 300}), -1);                   // the price scale
}

TEST(KCrosshair, ArrowKeysWalkTheDays) {
    KChartModel model = chartOf(200);
    moveFocusLeft(model);
    EXPECT_EQ(model.focusDataIndex(), 199);  // no focus: the newest day
    moveFocusRight(model);
    placeCrosshair(model, false, {0, 0}, {});
    EXPECT_EQ(model.focusDataIndex(), 199);  // stays on the newest day
    model.setFocusDataIndex(model.visibleStart());
    moveFocusLeft(model);
    placeCrosshair(model, false, {0, 0}, {});
    EXPECT_EQ(model.focusDataIndex(), model.visibleStart());  // older days are out of view
    // Everything visible: left of the first day is no focus, and the next Left the newest day.
    KChartModel all = chartOf(20);
    all.setFocusDataIndex(0);
    moveFocusLeft(all);
    EXPECT_FALSE(placeCrosshair(all, false, {0, 0}, {}));
    moveFocusLeft(all);
    EXPECT_EQ(all.focusDataIndex(), 19);
}

TEST(KInfoValues, TextsAndColoursOfTheDayPanel) {
    KSection day;
    day.openPrice = day.closePrice = 10;
    day.highPrice = 10.456f;
    day.volume = 1234567;
    day.swing = 3.14159f;
    KInfoValues v = infoValuesFor(day);
    EXPECT_EQ(std::tuple(v.high, v.volume, v.riseFall, v.swing),
              std::tuple("10.46", "123.5万", "0.00%", "3.14%"));
    EXPECT_EQ(std::pair(v.priceColour, v.riseFallColour),
              std::pair(KTextColour::Red, KTextColour::Red));
    day.closePrice = 9.99f;
    day.riseFall = -0.01f;
    v = infoValuesFor(day);
    EXPECT_EQ(std::pair(v.priceColour, v.riseFallColour),
              std::pair(KTextColour::Green, KTextColour::Green));
}
