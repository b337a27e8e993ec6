#include "orvane/publisher/SyntheticMarket.h"

#include <gtest/gtest.h>

#include <set>

#include "orvane/publisher/DayVerdicts.h"

using namespace orvane;
using namespace orvane::server;

TEST(SyntheticMarket, EveryVerdictOccursOnTheLastDay) {
    const auto market = makeSyntheticMarket(48, 7, *parseDate("2025-12-05"));
    ASSERT_EQ(market.size(), 48u);
    std::set<int> trends;
    int modelB = 0;
    std::set<std::string> codes;
    for (const StockSeries& s : market) {
        codes.insert(s.listing.code);
        ASSERT_EQ(s.bars.size(), 400u);
        EXPECT_EQ(s.bars.back().date, "2025-12-05");
        const auto v = computeDayVerdicts(s.listing.code, historyTextOf(s.bars), 0);
        ASSERT_TRUE(v[0]) << s.listing.code;
        trends.insert(v[0]->result.trend);
        modelB += v[0]->result.modeB;
    }
    EXPECT_EQ(codes.size(), 48u);
    for (int code : {-1, 0, 1, 2, 3, 1000, 1001}) EXPECT_TRUE(trends.count(code)) << code;
    EXPECT_GT(modelB, 0);
}

TEST(SyntheticMarket, SameSeedSameMarketAndWeekdaysOnly) {
    const auto a = makeSyntheticMarket(5, 3, *parseDate("2025-12-08"), 30);
    const auto b = makeSyntheticMarket(5, 3, *parseDate("2025-12-08"), 30);
    const auto c = makeSyntheticMarket(5, 4, *parseDate("2025-12-08"), 30);
    EXPECT_EQ(historyTextOf(a[2].bars), historyTextOf(b[2].bars));
    EXPECT_NE(historyTextOf(a[2].bars), historyTextOf(c[2].bars));
    for (const DailyBar& bar : a[0].bars) {
        const int weekday = parseDate(bar.date)->weekday;
        EXPECT_TRUE(weekday >= 1 && weekday <= 5) << bar.date;
    }
    EXPECT_EQ(formatDate(lastWeekdayBefore(*parseDateTime("2025-12-08 09:00:00"))), "2025-12-05");
    EXPECT_EQ(formatDate(lastWeekdayBefore(*parseDateTime("2025-12-10 09:00:00"))), "2025-12-09");
}
