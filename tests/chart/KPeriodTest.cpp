#include "orvane/chart/KPeriod.h"

#include <gtest/gtest.h>

using namespace orvane::chart;

namespace {

KSection day(const char* date, float open, float high, float low, float close, float volume) {
    KSection d;
    d.date = date;
    d.openPrice = open;
    d.highPrice = high;
    d.lowPrice = low;
    d.closePrice = close;
    d.volume = volume;
    return d;
}

using Candle = std::tuple<std::string, float, float, float, float, float>;

std::vector<Candle> candles(const std::vector<KSection>& days, KPeriod period) {
    std::vector<Candle> out;
    for (const KSection& c : candlesOfPeriod(days, period))
        out.emplace_back(c.date, c.openPrice, c.highPrice, c.lowPrice, c.closePrice, c.volume);
    return out;
}

// Thursday 2020-12-31 and Friday 2021-01-01 share ISO week 53 of 2020; the
// Monday after opens week 1. The months split at the turn of the year and
// again at February.
const std::vector<KSection> kDays = {
    day("2020-12-30", 10, 11, 9, 10.5f, 100), day("2020-12-31", 10.5f, 12, 10, 11, 200),
    day("2021-01-01", 11, 11.5f, 8, 9, 300),  day("2021-01-04", 9, 10, 8.5f, 9.5f, 400),
    day("2021-01-29", 9.5f, 13, 9, 12, 500),  day("2021-02-01", 12, 12.5f, 11, 11.5f, 600),
};

}  // namespace

TEST(KPeriod, WeeksAndMonthsTakeFirstOpenExtremesLastCloseAndSummedVolume) {
    EXPECT_EQ(candles(kDays, KPeriod::Week),
              (std::vector<Candle>{{"2021-01-01", 10, 12, 8, 9, 600},
                                   {"2021-01-04", 9, 10, 8.5f, 9.5f, 400},
                                   {"2021-01-29", 9.5f, 13, 9, 12, 500},
                                   {"2021-02-01", 12, 12.5f, 11, 11.5f, 600}}));
    EXPECT_EQ(candles(kDays, KPeriod::Month),
              (std::vector<Candle>{{"2020-12-31", 10, 12, 9, 11, 300},
                                   {"2021-01-29", 11, 13, 8, 12, 1200},
                                   {"2021-02-01", 12, 12.5f, 11, 11.5f, 600}}));
    EXPECT_EQ(candles(kDays, KPeriod::Day).size(), kDays.size());
}

TEST(KPeriod, WeeklyCandlesCarryTheirOwnRiseAndAverages) {
    std::vector<KSection> days;
    // Five weeks of one day each (Mondays), closes 10, 11, ..., 14.
    const char* mondays[] = {"2024-03-04", "2024-03-11", "2024-03-18", "2024-03-25", "2024-04-01"};
    for (int i = 0; i < 5; ++i)
        days.push_back(day(mondays[i], 10.0f + i, 10.5f + i, 9.5f + i, 10.0f + i, 1));
    const auto weeks = candlesOfPeriod(days, KPeriod::Week);
    ASSERT_EQ(weeks.size(), 5u);
    EXPECT_FLOAT_EQ(weeks[4].ma5, 12);
    EXPECT_FLOAT_EQ(weeks[1].riseFall, 10);
    EXPECT_EQ(weeks[4].selectioID, 4);
}

TEST(KPeriod, UnreadableDatesStandAlone) {
    const std::vector<KSection> days = {day("2024-03-04", 1, 1, 1, 1, 1),
                                        day("garbage", 2, 2, 2, 2, 2),
                                        day("2024-03-05", 3, 3, 3, 3, 3)};
    EXPECT_EQ(periodKeyOf("2024-02-30", KPeriod::Week), -1);
    EXPECT_EQ(candlesOfPeriod(days, KPeriod::Week).size(), 3u);
}
