#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "HistoryBuilder.h"
#include "orvane/analysis/RiseMeasures.h"
#include "orvane/analysis/SidewaysRegion.h"

using namespace orvane;
using test::HistoryBuilder;
using Parsed = test::ParsedText;

TEST(SidewaysRegion, StopsAtTheDayThatBreaksTheBandItsBoxComparesWithDoubles) {
    // 11.2 / 10 = 1.12 stays in; the untraded day is skipped.
    Parsed p(HistoryBuilder().days({10, 10.5}).day(50, 0).days({11, 11.2, 12.6, 10}).text());
    EXPECT_EQ(getStockSildeWaysRgn(p.view(), "600000", 1, kRegionNarrow), 4);
    // Ends in the band: the last examined day is not credited.
    Parsed flat(HistoryBuilder().flat(6, 10).text());
    EXPECT_EQ(getStockSildeWaysRgn(flat.view(), "600000", 1, kRegionNarrow), 5);
    EXPECT_EQ(getStockSildeWaysRgn(flat.view(), "600000", 7, kRegionNarrow), -1);

    StockBox_Info b;
    b.maxPrice = 11, b.minPrice = 10, b.endPrice = 11, b.avgPrice = 10.5f, b.endIndex = 11;
    std::int32_t score = 0;
    FilterMode_limitSlideway(b, score);  // 1.1f widened is above the double 1.1
    EXPECT_EQ(score, 5);
}

TEST(SidewaysRegion, LongestRegionOfEveryViewIsTheBestOfItsTenScans) {
    // Prices that wander in and out of the bands, with untraded days, a zero
    // close now and then, views of every day and views of views past the
    // text's end; the regions scanned for each view and those measured once
    // for the whole text, of an index code too.
    std::mt19937 rng(20251208);
    for (int round = 0; round < 120; ++round) {
        const bool once = round % 2 == 1;
        const char* code = round % 6 == 5 ? "399001" : "600000";
        HistoryBuilder b;
        float price = 10;
        const int days = 5 + static_cast<int>(rng() % 120);
        for (int i = 0; i < days; ++i) {
            price *= 1.0f + (static_cast<int>(rng() % 161) - 80) / 1000.0f;
            const bool zero = round % 8 < 2 && rng() % 50 == 0;
            b.day(zero ? 0.0f : price, rng() % 9 ? 1000 : 0);
        }
        Parsed p(b.text());
        if (once) p.history.measureRegionsOnce();
        std::vector<HistoryView> views{p.view()};
        for (std::int64_t k = 1; k < p.view().size(); ++k) {
            views.push_back(*p.view().dayView(k));
            if (auto further = views.back().dayView(1 + k % 7)) views.push_back(*further);
        }
        for (const HistoryView& v : views)
            for (std::uint32_t kind : {kRegionWide, kRegionMedium, kRegionNarrow, kRegionModelB}) {
                LongestRegion scanned;
                for (std::int32_t d = 1; d <= 10; ++d) {
                    const std::int32_t n = getStockSildeWaysRgn(v, code, d, kind);
                    if (d == 1 || n > scanned.length) scanned = {n, d};
                }
                const LongestRegion found = longestSidewaysRegion(v, code, kind);
                ASSERT_EQ(found.length, scanned.length)
                    << round << " " << v.size() << " " << kind << " " << once;
                ASSERT_EQ(found.startOffset, scanned.startOffset);
            }
    }
}

TEST(RiseMeasures, ElevenDaysSinceDayTwoAndThreeDays) {
    Parsed p(HistoryBuilder().days({10, 11, 12, 9, 10, 10, 10, 10, 10, 10, 10, 20}).text());
    EXPECT_EQ(getMaxRise(p.view(), "600000", 1), 12.0f / 9.0f);
    EXPECT_EQ(getMaxRise(p.view(), "399001", 1), 1.0f);
    Parsed high(HistoryBuilder().day(100).days({5, 7, 6}).flat(46, 2).text());
    EXPECT_EQ(getMaxPrice(high.view(), "600000", 100), 7.0f);
    EXPECT_EQ(getMaxPrice(high.view(), "600000", 0), 5.0f);  // n counts lines after the first
    Parsed three(HistoryBuilder().days({10, 9.6, 9.5, 9}).text());
    EXPECT_EQ(getMaxRiseThreedays(three.view(), 10.5f, 10.0f), 10.5f / 10.0f);
    Parsed zeros(HistoryBuilder().days({0, 0, 0, 0}).text());
    EXPECT_TRUE(std::isnan(getMaxRiseThreedays(zeros.view(), 10.5f, 10.0f)));
}
