#include <gtest/gtest.h>

#include "HistoryBuilder.h"
#include "orvane/analysis/StockScore.h"

using namespace orvane;
using test::HistoryBuilder;

TEST(ScorePoints, RegionLengthsStartDaysAndAngleBands) {
    const struct {
        std::uint32_t kind;
        std::int32_t length, points;
    } lengths[] = {{kRegionNarrow, 15, 0},  {kRegionNarrow, 16, 6},  {kRegionNarrow, 60, 36},
                   {kRegionWide, 114, 20},  {kRegionWide, 115, 25},  {kRegionMedium, 34, 5},
                   {kRegionMedium, 35, 10}, {kRegionModelB, 200, 0}, {kRegionNarrow, -1, 0}};
    for (const auto& c : lengths)
        EXPECT_EQ(regionLengthPoints(c.kind, c.length), c.points) << c.kind << " " << c.length;
    const std::int32_t startPoints[][2] = {{1, 5}, {2, 4}, {5, 1}, {6, 0}, {0, 0}};
    for (const auto& [days, points] : startPoints) EXPECT_EQ(fileterSlideWaysBefore(days), points);

    // 1.03f widened lies below the double 1.03: still the lowest range of set 1003.
    const struct {
        bool composite;
        float ratio;
        std::uint32_t set;
        std::int32_t points;
    } angles[] = {{false, 1.0f, kRegionMedium, 0},   {false, 1.0f, kRegionNarrow, 5},
                  {false, 1.04f, kRegionNarrow, 15}, {false, 1.2f, kRegionWide, 5},
                  {false, 1.06f, kRegionWide, 10},   {false, 1.5f, 1004, 0},
                  {false, 1.03f, kRegionNarrow, 5},  {false, 1.0301f, kRegionNarrow, 15},
                  {true, 1.022f, kRegionMedium, 0},  {true, 1.03f, kRegionMedium, 10},
                  {true, 1.0f, kRegionMedium, 15},   {true, 0.99f, kRegionMedium, 0},
                  {true, 1.0f, kRegionNarrow, 5}};
    for (const auto& c : angles)
        EXPECT_EQ(c.composite ? fileterAngleModelforComposite(c.ratio, c.set)
                              : fileterAngleModel(c.ratio, c.set),
                  c.points)
            << c.composite << " " << c.ratio << " " << c.set;
}

TEST(StockScore, EqualLongestRegionsTakeTheEarlierOffset) {
    // 40 days at offset 2 (days 2-41, broken by day 42) and at offset 5 (days
    // 5-44, broken by day 45).
    std::string text = HistoryBuilder()
                           .day(30)
                           .flat(3, 10)
                           .flat(37, 11)
                           .day(12)
                           .flat(2, 11.5)
                           .day(9)
                           .flat(10, 9)
                           .text();
    ParsedHistory h(text);
    EXPECT_EQ(getStockSildeWaysRgn(HistoryView(h), "600000", 2, kRegionNarrow), 40);
    EXPECT_EQ(getStockSildeWaysRgn(HistoryView(h), "600000", 5, kRegionNarrow), 40);
    std::int32_t score = 0;
    LongestRegion r = getSlideWaysToScore(HistoryView(h), "600000", kRegionNarrow, score);
    EXPECT_EQ(r.startOffset, 2);
    EXPECT_EQ(score, 28);  // 40 days of the narrow kind
}

TEST(StockScore, IndexCodesTakeTheCompositeVariant) {
    std::string text = HistoryBuilder().flat(80, 1234.56).text();
    ParsedHistory h(text);
    std::int32_t score = 0;
    float key = calStockScore(HistoryView(h), {"399001", 1234.56f, 1250.0f, 1234.56f}, score);
    EXPECT_EQ(key, 1234.0f);  // truncated
    // Base 100 + medium (halved band, 79 days: 15) + wide (79: 16) + narrow (79: 36)
    // + start days 3 x 5 + composite angle points for 1250 / 1234.56 = 1.0125:
    // set 1002 +15, set 1003 +15, set 1001 +15.
    EXPECT_EQ(score, 100 + 15 + 16 + 36 + 15 + 45);

    std::int32_t untouched = 7;
    EXPECT_EQ(calStockScoreForComposite(HistoryView(h), {"600000", 1, 1, 1}, untouched), 0);
    EXPECT_EQ(untouched, 7);
    EXPECT_EQ(truncateToInt(-3.9f), -3);
    EXPECT_EQ(truncateToInt(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
}
