#include <gtest/gtest.h>

#include <thread>

#include "orvane/reports/MarketReportGuard.h"
#include "orvane/reports/MarketReportSchedule.h"

using namespace orvane;

TEST(MarketReportSchedule, WeekdayMinutesInTheirFourSeconds) {
    // 2025-09-03 is a Wednesday, 09-06 a Saturday, 09-07 a Sunday.
    const std::pair<const char*, bool> times[] = {
        {"2025-09-03 10:15:21", true},  {"2025-09-03 10:15:24", true},
        {"2025-09-03 10:15:25", false}, {"2025-09-03 10:15:20", false},
        {"2025-09-03 10:16:22", false}, {"2025-09-06 10:15:22", false},
        {"2025-09-07 10:15:22", false}, {"2025-09-05 23:30:23", true},
        {"2025-09-01 09:40:21", true}};
    for (const auto& [time, on] : times)
        EXPECT_EQ(isOnMarketReportSchedule(*parseDateTime(time)), on) << time;
    EXPECT_EQ(marketReportScheduleLine(*parseDateTime("2025-09-03 10:05:02")),
              "202593 Wed 10:5:2\n");
}

TEST(MarketReportGuard, ASecondRunWhileOneIsGoingIsSkipped) {
    MarketReportGuard guard;
    EXPECT_TRUE(guard.runUnlessBusy(
        [&] { std::thread([&] { EXPECT_FALSE(guard.runUnlessBusy([] {})); }).join(); }));
    // A run that throws still releases the guard.
    EXPECT_THROW(guard.runUnlessBusy([] { throw 1; }), int);
    EXPECT_FALSE(guard.busy());
}
