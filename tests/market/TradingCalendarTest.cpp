#include "orvane/market/TradingCalendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "TempDataDir.h"

namespace orvane {
namespace {

LocalDateTime day(std::string_view text) {
    return *parseDate(text);
}

TEST(TradingCalendar, PublishedHolidaysAreClosed) {
    for (const char* closed : {"2026-10-06", "2026-05-01", "2026-10-01", "2026-02-17", "2026-06-19",
                               "2026-09-25", "2025-10-08", "2024-02-09"})
        EXPECT_FALSE(isTradingDay(day(closed))) << closed;
    for (const char* open : {"2026-10-08", "2026-05-06", "2026-04-30", "2026-12-07"})
        EXPECT_TRUE(isTradingDay(day(open))) << open;
    // The make-up working weekends of the holidays are no trading days.
    EXPECT_FALSE(isTradingDay(day("2026-10-10")));
    EXPECT_FALSE(isTradingDay(day("2026-05-09")));
}

TEST(TradingCalendar, UnpublishedYearClosesOnWeekendsAndFixedHolidays) {
    ASSERT_FALSE(isPublishedYear(2028));
    EXPECT_FALSE(isTradingDay(day("2028-01-01")));
    EXPECT_FALSE(isTradingDay(day("2028-05-01")));
    for (int d = 1; d <= 7; ++d)
        EXPECT_FALSE(isTradingDay(*parseDate("2028-10-0" + std::to_string(d)))) << d;
    EXPECT_TRUE(isTradingDay(day("2028-10-09")));   // a Monday
    EXPECT_TRUE(isTradingDay(day("2028-01-26")));   // Spring Festival is not known yet
    EXPECT_FALSE(isTradingDay(day("2028-01-29")));  // a Saturday
}

TEST(TradingCalendar, LastTradingDayBeforeSkipsClosures) {
    auto before = [](const char* now) {
        return formatDate(lastTradingDayBefore(*parseDateTime(now)));
    };
    EXPECT_EQ(before("2026-10-08 09:00:00"), "2026-09-30");
    EXPECT_EQ(before("2026-05-06 20:00:00"), "2026-04-30");
    EXPECT_EQ(before("2025-12-08 09:00:00"), "2025-12-05");
    EXPECT_EQ(before("2025-12-10 23:59:00"), "2025-12-09");
    const LocalDateTime last = lastTradingDayBefore(*parseDateTime("2026-05-06 20:00:00"));
    EXPECT_EQ(last.hour, 0);
    EXPECT_EQ(last.weekday, 4);

    const auto days = tradingDaysEndingOn(day("2026-10-09"), 4);
    EXPECT_EQ(days,
              (std::vector<std::string>{"2026-09-29", "2026-09-30", "2026-10-08", "2026-10-09"}));
    // A closed last day is not one of them.
    EXPECT_EQ(tradingDaysEndingOn(day("2026-10-06"), 1), std::vector<std::string>{"2026-09-30"});
}

// The closures table against the real market: within the data's dates, a
// weekday is a trading day exactly when some stock has a line on it.
TEST(TradingCalendar, AgreesWithTheRealMarket) {
    const auto market = test::sharedMarketDir();
    if (market.empty()) GTEST_SKIP() << "no shared market data";
    std::set<std::string> traded;
    for (const auto& entry : std::filesystem::directory_iterator(market / "daily")) {
        std::ifstream in(entry.path());
        std::string line;
        std::getline(in, line);  // the header
        while (std::getline(in, line))
            if (line.size() >= 10) traded.insert(line.substr(0, 10));
    }
    ASSERT_FALSE(traded.empty());
    const LocalDateTime first = day(*traded.begin()), last = day(*traded.rbegin());
    ASSERT_TRUE(isPublishedYear(first.year) && isPublishedYear(last.year));
    int weekdays = 0;
    for (LocalDateTime d = first; d <= last;) {
        if (d.weekday != 0 && d.weekday != 6) {
            ++weekdays;
            const std::string text = formatDate(d);
            EXPECT_EQ(isTradingDay(d), traded.contains(text)) << text;
        }
        LocalDateTime noon = d;
        noon.hour = 12;
        d = toLocal(fromLocal(noon) + std::chrono::hours(24));
        d.hour = 0;
    }
    EXPECT_GT(weekdays, 800);
}

}  // namespace
}  // namespace orvane
