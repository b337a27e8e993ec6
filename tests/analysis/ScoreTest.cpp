#include <gtest/gtest.h>

#include "HistoryBuilder.h"
#include "orvane/analysis/StockScore.h"

using namespace orvane;
using test::HistoryBuilder;
using Parsed = test::ParsedText;

TEST(ScorePoints, RegionLengthsStartDaysAndAngleBands) {
    const struct {
        std::uint32_t kind;
        std::int32_t length, points;
    } lengths[] = {{kRegionNarrow, 15, 0}, {kRegionNarrow, 16, 6}, {kRegionWide, 114, 20},
                   {kRegionWide, 115, 25}, {kRegionMedium, 34, 5}, {kRegionMedium, 35, 10},
                   {kRegionModelB, 200, 0}};
    for (const auto& c : lengths)
        EXPECT_EQ(regionLengthPoints(c.kind, c.length), c.points) << c.kind << " " << c.length;
    EXPECT_EQ(fileterSlideWaysBefore(6), 0);

    // 1.03f widened lies below the double 1.03: still the lowest range of set 1003.
    const struct {
        bool composite;
        float ratio;
        std::uint32_t set;
        std::int32_t points;
    } angles[] = {{false, 1.03f, kRegionNarrow, 5}, {false, 1.0301f, kRegionNarrow, 15},
                  {false, 1.2f, kRegionWide, 5},    {true, 1.022f, kRegionMedium, 0},
                  {true, 1.03f, kRegionMedium, 10}, {true, 0.99f, kRegionMedium, 0}};
    for (const auto& c : angles)
        EXPECT_EQ(c.composite ? fileterAngleModelforComposite(c.ratio, c.set)
                              : fileterAngleModel(c.ratio, c.set),
                  c.points)
            << c.composite << " " << c.ratio << " " << c.set;
}

TEST(StockScore, EqualLongestRegionsTakeTheEarlierOffsetIndexCodesTheCompositeVariant) {
    // 40 days at offset 2 (broken by day 42) and at offset 5 (broken by day 45).
    Parsed p(
        HistoryBuilder().day(30).flat(3, 10).flat(37, 11).day(12).flat(2, 11.5).flat(11, 9).text());
    EXPECT_EQ(getStockSildeWaysRgn(p.view(), "600000", 5, kRegionNarrow), 40);
    std::int32_t score = 0;
    EXPECT_EQ(getSlideWaysToScore(p.view(), "600000", kRegionNarrow, score).startOffset, 2);

    Parsed index(HistoryBuilder().flat(80, 1234.56).text());
    score = 0;
    EXPECT_EQ(calStockScore(index.view(), {"399001", 1234.56f, 1250.0f, 1234.56f}, score), 1234.0f);
    // Base 100, regions 15 + 16 + 36, start days 3 x 5, composite angles 3 x 15.
    EXPECT_EQ(score, 100 + 15 + 16 + 36 + 15 + 45);
    std::int32_t untouched = 7;
    EXPECT_EQ(calStockScoreForComposite(index.view(), {"600000", 1, 1, 1}, untouched), 0);
    EXPECT_EQ(untouched, 7);
}
