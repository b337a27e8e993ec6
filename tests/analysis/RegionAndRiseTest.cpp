#include <gtest/gtest.h>

#include <cmath>

#include "HistoryBuilder.h"
#include "orvane/analysis/RiseMeasures.h"
#include "orvane/analysis/SidewaysRegion.h"

using namespace orvane;
using test::HistoryBuilder;
using Parsed = test::ParsedText;

TEST(SidewaysRegion, StopsAtTheDayThatBreaksTheBand) {
    Parsed p(HistoryBuilder().days({10, 10.5, 11, 11.2, 12.6, 10, 10}).text());
    EXPECT_EQ(getStockSildeWaysRgn(p.view(), "600000", 1, kRegionNarrow),
              4);  // 11.2 / 10 = 1.12 stays in
    EXPECT_EQ(getStockSildeWaysRgn(p.view(), "600000", 1, kRegionWide), 4);
    EXPECT_EQ(getStockSildeWaysRgn(p.view(), "399001", 1, kRegionWide), 4);  // band 1.125
    EXPECT_EQ(regionBand(kRegionWide, "399001"), 1.125f);
    EXPECT_EQ(regionBand(kRegionModelB, "600000"), 1.17f);
    EXPECT_EQ(regionBand(7, "600000"), 1.17f);
}

TEST(SidewaysRegion, UntradedDaysAndTheEndOfTheText) {
    Parsed p(HistoryBuilder().days({10, 10.5}).day(50, 0).days({11, 11.2, 12.6}).text());
    EXPECT_EQ(getStockSildeWaysRgn(p.view(), "600000", 1, kRegionNarrow), 4);
    // Ends in the band: the last examined day is not credited.
    Parsed flat(HistoryBuilder().flat(6, 10).text());  // 8 elements
    EXPECT_EQ(getStockSildeWaysRgn(flat.view(), "600000", 1, kRegionNarrow), 5);
    EXPECT_EQ(getStockSildeWaysRgn(flat.view(), "600000", 7, kRegionNarrow), -1);  // offset E - 1
    // A band broken on the second examined day gives 1.
    Parsed jump(HistoryBuilder().days({10, 20, 20}).text());
    EXPECT_EQ(getStockSildeWaysRgn(jump.view(), "600000", 1, kRegionNarrow), 1);
}

TEST(BoxRules, LimitSlidewayComparesWithDoubles) {
    StockBox_Info b;
    b.maxPrice = 11, b.minPrice = 10, b.endPrice = 11, b.avgPrice = 10.5f, b.endIndex = 11;
    std::int32_t score = 0;
    FilterMode_limitSlideway(b, score);  // 1.1f widened is above the double 1.1
    EXPECT_EQ(score, 5);
    b.maxPrice = 10.5f;
    score = 0;
    FilterMode_limitSlideway(b, score);
    EXPECT_EQ(score, 30);
}

TEST(RiseMeasures, ElevenDayRatio) {
    Parsed p(HistoryBuilder().days({10, 11, 12, 9, 10, 10, 10, 10, 10, 10, 10, 20}).text());
    EXPECT_EQ(getMaxRise(p.view(), "600000", 1), 12.0f / 9.0f);
    Parsed quiet(HistoryBuilder()
                     .days({10, 11, 12})
                     .day(1, 5)
                     .days({10, 10, 10, 10, 10, 10, 10, 20})
                     .text());
    EXPECT_EQ(getMaxRise(quiet.view(), "600000", 1),
              20.0f / 10.0f);  // the skipped day lets day 13 in
    EXPECT_TRUE(std::isnan(getMaxRise(p.view(), "600000", 13)));
    EXPECT_EQ(getMaxRise(p.view(), "399001", 1), 1.0f);
}

TEST(RiseMeasures, HighestCloseSinceDayTwo) {
    Parsed p(HistoryBuilder().day(100).days({5, 7, 6}).flat(46, 2).text());
    EXPECT_EQ(getMaxPrice(p.view(), "600000", 100), 7.0f);
    Parsed low(HistoryBuilder().flat(50, 0.5).text());
    EXPECT_EQ(getMaxPrice(low.view(), "600000", 100), 1.0f);
    // n counts the lines taken after the first: n = 1 reads days 2 and 3.
    EXPECT_EQ(getMaxPrice(p.view(), "600000", 1), 7.0f);
    EXPECT_EQ(getMaxPrice(p.view(), "600000", 0), 5.0f);
}

TEST(RiseMeasures, ThreeDayRise) {
    Parsed p(HistoryBuilder().days({10, 9.6, 9.5, 9}).text());
    EXPECT_EQ(getMaxRiseThreedays(p.view(), 10.5f, 10.0f), 10.5f / 10.0f);
    Parsed broken(HistoryBuilder().day(10).raw("2025-09-02,1,1,1,9,1000").days({9.5, 9}).text());
    EXPECT_TRUE(std::isinf(getMaxRiseThreedays(broken.view(), 10.5f, 10.0f)));
    Parsed tiny("H\n2025-01-01,1,1,1,1,100,1\n");  // 3 elements
    EXPECT_EQ(getMaxRiseThreedays(tiny.view(), 10.5f, 10.0f), 1.0f);
    // An undefined first ratio stays undefined.
    Parsed zeros(HistoryBuilder().days({0, 0, 0, 0}).text());
    EXPECT_TRUE(std::isnan(getMaxRiseThreedays(zeros.view(), 10.5f, 10.0f)));
}
