#include <gtest/gtest.h>

#include <cmath>

#include "HistoryBuilder.h"
#include "orvane/analysis/Acceleration.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/StockBoxInfo.h"

using namespace orvane;
using test::HistoryBuilder;
using Parsed = test::ParsedText;

static StockBox_Info boxOf(float F, float L, float A, float H, float M) {
    StockBox_Info b;
    b.startPrice = F, b.endPrice = L, b.avgPrice = A, b.maxPrice = H, b.minPrice = M;
    return b;
}

TEST(Window, SkipsUntradedLinesRunsOutOfTextAndComparesInSinglePrecision) {
    // Lines 1 and 3 have volume 0; the window of 5 at offset 1 takes 2, 4, 5, 6, 7.
    Parsed p(HistoryBuilder().day(20, 0).day(11).day(30, 0).days({12, 13, 14, 15, 16, 17}).text());
    StockBox_Info b = windowStatistics(p.view(), 5, 1);
    EXPECT_EQ(b.startPrice, 11.0f);
    EXPECT_EQ(b.endPrice, 15.0f);
    EXPECT_EQ(b.avgPrice, (11.0f + 12 + 13 + 14 + 15) / 5);
    b = windowStatistics(p.view(), 5, 500);
    EXPECT_TRUE(std::isnan(b.avgPrice));
    EXPECT_EQ(b.endIndex, 9);

    // H / M = 13 / 10 is 1.29999995 in single precision: below the double 1.3.
    EXPECT_NE(classifyWindow(boxOf(13, 10, 11, 13, 10), 10), kTrendRising);
    EXPECT_EQ(classifyWindow(boxOf(13, 10, 11, 13, 9.9f), 10), kTrendRising);
    // The limit on H / F follows the number of days counted.
    StockBox_Info nearHigh = boxOf(12, 9, 10, 13.5f, 9);  // H / F = 1.125
    EXPECT_EQ(classifyWindow(nearHigh, 9), kTrendUnclear);
    EXPECT_EQ(classifyWindow(nearHigh, 10), kTrendRising);
}

TEST(DayLag, WeekdaysWeekendsAndBadDates) {
    // 2025-09-04 is a Thursday; 2025-01-31 to 2025-03-03 is 1 month 3 days,
    // of which only the day part counts.
    const struct {
        const char *newest, *now;
        std::int32_t lag;
    } cases[] = {{"2025-09-04", "2025-09-08 10:00:00", 2},
                 {"2025-09-04", "2025-09-06 10:00:00", 1},
                 {"2025-09-04", "2025-09-04 16:00:00", 0},
                 {"2025-09-08", "2025-09-08 10:00:00", -2},
                 {"2025-01-31", "2025-03-03 10:00:00", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(daysBefortoday(Parsed(HistoryBuilder(c.newest).flat(20, 10).text()).view(),
                                 *parseDateTime(c.now)),
                  c.lag)
            << c.newest << " " << c.now;
    // The first candidate decides even when its date is bad.
    Parsed bad(HistoryBuilder().raw("").raw("2025-13-45,1,1,1,1,1000,1").flat(20, 10).text());
    EXPECT_EQ(daysBefortoday(bad.view(), *parseDateTime("2025-09-03 10:00:00")), kUnknownDayLag);
    // Acceleration is still judged three days behind (a flat history: any rise).
    Parsed flat(HistoryBuilder("2025-09-01").flat(20, 10).text());
    EXPECT_TRUE(
        isAcceleration(flat.view(), {"600000", 11, 11, 10}, *parseDateTime("2025-09-04 10:00:00")));
}

TEST(HistoricalDay, ViewsRecordsAndHighestClose) {
    ParsedHistory h("H\nA\nB\nC\nD\n");
    EXPECT_EQ(historicalDayText(HistoryView(h), 3), "H\nC\nD\n\n");
    auto twice = HistoryView(h).dayView(2)->dayView(4);
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->size(),
              ParsedHistory(*historicalDayText(*HistoryView(h).dayView(2), 4)).size());

    // Day 3 has 6 fields: day 2's previous close is 1.0.
    Parsed p(HistoryBuilder().days({10, 11}).raw("2025-09-01,1,1,1,9,1000").day(8).text());
    EXPECT_EQ(historicalDayTrade(p.view(), 2, "600000")->yesClose, 1.0f);
    EXPECT_EQ(historicalDayTrade(p.view(), 1, "600000")->yesClose, 11.0f);
    EXPECT_FALSE(historicalDayTrade(p.view(), 5, "600000"));

    Parsed q(HistoryBuilder().days({50, 40, 30, 12, 11, 13, 10, 10, 10, 10, 99}).text());
    EXPECT_EQ(getHisdayMaxPrice(q.view(), 10, 3), 13.0f);
}
