#include "orvane/chart/KIndicators.h"

#include <gtest/gtest.h>

#include "orvane/chart/KIndicatorPanel.h"

using namespace orvane::chart;

namespace {

std::vector<KSection> candles(const std::vector<std::array<float, 4>>& hlcv) {
    std::vector<KSection> out;
    for (const auto& [high, low, close, volume] : hlcv) {
        KSection& c = out.emplace_back();
        c.highPrice = high;
        c.lowPrice = low;
        c.openPrice = c.closePrice = close;
        c.volume = volume;
    }
    return out;
}

}  // namespace

// Worked by hand: the 12-candle EMA moves 2/13 of the way, the 26-candle one
// 2/27, the 9-candle DEA 1/5; all start at their first value.
TEST(KIndicators, MacdFromEmasSeededByTheFirstClose) {
    const auto v = indicatorValuesOf(candles({{10, 10, 10, 1}, {11, 11, 11, 1}, {12, 12, 12, 1}}));
    // Day 1: fast 10 + 2/13 = 10.153846, slow 10 + 2/27 = 10.074074.
    // Day 2: fast 10.437870, slow 10.216735.
    const double rows[][3] = {
        {0, 0, 0}, {0.0797721, 0.0159544, 0.1276353}, {0.2211346, 0.0569904, 0.3282882}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(v[i].dif, rows[i][0], 1e-5) << i;
        EXPECT_NEAR(v[i].dea, rows[i][1], 1e-5) << i;
        EXPECT_NEAR(v[i].macd, rows[i][2], 1e-5) << i;
    }
}

// RSV over the window; K and D start at 50 and take a third of the new value.
TEST(KIndicators, KdjFromFiftyOverASlidingWindow) {
    const auto days = candles({{11, 9, 10, 1}, {12, 10, 12, 1}, {11, 10.5f, 11, 1}});
    const auto nine = indicatorValuesOf(days);
    // RSV 50, 100, then (11 − 9) / (12 − 9) = 66.67 with the first day still in the window.
    const double k[] = {50, 66.6667, 66.6667}, d[] = {50, 55.5556, 59.2593};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(nine[i].k, k[i], 1e-3) << i;
        EXPECT_NEAR(nine[i].d, d[i], 1e-3) << i;
        EXPECT_NEAR(nine[i].j, 3 * k[i] - 2 * d[i], 1e-3) << i;
    }
    // A window of 2 has left the first day behind: RSV (11 − 10) / (12 − 10) = 50.
    const auto two = indicatorValuesOf(days, {}, {2, 3, 3});
    EXPECT_NEAR(two[2].k, (2 * 66.6667 + 50) / 3, 1e-3);
    // No range at all: RSV 50 keeps K at 50.
    EXPECT_FLOAT_EQ(indicatorValuesOf(candles({{5, 5, 5, 1}}))[0].k, 50);
}

TEST(KIndicators, VolumeAveragesWaitForEnoughCandles) {
    std::vector<std::array<float, 4>> rows;
    for (int i = 1; i <= 10; ++i) rows.push_back({1, 1, 1, static_cast<float>(i * 100)});
    const auto v = indicatorValuesOf(candles(rows));
    EXPECT_EQ(std::tuple(v[3].volumeMa5, v[4].volumeMa5, v[9].volumeMa5), std::tuple(0, 300, 800));
    EXPECT_EQ(std::tuple(v[8].volumeMa10, v[9].volumeMa10), std::tuple(0, 550));
}

TEST(KIndicatorPanel, LegendNamesTheCandlesValues) {
    KChartModel model(400, 300);
    model.setDataList(candles({{10, 10, 10, 15000}, {11, 11, 11, 25000}, {12, 12, 12, 5000}}));
    EXPECT_EQ(indicatorLegendOf(model, 1),
              (std::vector<KLegendText>{{KLegendColour::Title, "MACD(12,26,9)"},
                                        {KLegendColour::First, "DIF 0.080"},
                                        {KLegendColour::Second, "DEA 0.016"},
                                        {KLegendColour::Third, "MACD 0.128"}}));
    model.setIndicator(KIndicator::KDJ);
    EXPECT_EQ(indicatorLegendOf(model, 0)[1].text, "K 50.00");
    EXPECT_EQ(volumeLegendOf(model, 2),
              (std::vector<KLegendText>{{KLegendColour::Title, "VOL 0.5万"},
                                        {KLegendColour::First, "MA5 --"},
                                        {KLegendColour::Second, "MA10 --"}}));
    EXPECT_TRUE(indicatorLegendOf(model, 3).empty());
}

TEST(KIndicatorPanel, RangeSpansTheVisibleValuesWithItsFixedLevelsInside) {
    KChartModel model(400, 300);
    model.setDataList(candles({{10, 10, 10, 1}, {11, 11, 11, 1}, {12, 12, 12, 1}}));
    // MACD: all values rise from 0; the top is day 2's bar, 0.3283.
    KIndicatorScale s = indicatorScaleOf(model, 74);
    EXPECT_EQ(s.bottom, 0);
    EXPECT_NEAR(s.top, 0.3282882, 1e-5);
    // KDJ: RSV 50, 100, 100 make J 50, 88.89, 107.41, above the 100 line.
    model.setIndicator(KIndicator::KDJ);
    s = indicatorScaleOf(model, 74);
    EXPECT_EQ(s.bottom, 0);
    EXPECT_NEAR(s.top, 107.4074, 1e-3);
    EXPECT_NEAR(s.y(s.top), 74, 1e-4);
}
