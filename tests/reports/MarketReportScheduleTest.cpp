#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "orvane/reports/MarketReportGuard.h"
#include "orvane/reports/MarketReportSchedule.h"

using namespace orvane;

namespace {
LocalDateTime at(const char* text) {
    return *parseDateTime(text);
}
}  // namespace

TEST(MarketReportSchedule, WeekdayMinutesInTheirFourSeconds) {
    EXPECT_TRUE(isOnMarketReportSchedule(at("2025-09-03 10:15:22")));  // a Wednesday
    EXPECT_TRUE(isOnMarketReportSchedule(at("2025-09-03 10:15:21")));
    EXPECT_TRUE(isOnMarketReportSchedule(at("2025-09-03 10:15:24")));
    EXPECT_FALSE(isOnMarketReportSchedule(at("2025-09-03 10:15:25")));
    EXPECT_FALSE(isOnMarketReportSchedule(at("2025-09-03 10:15:20")));
    EXPECT_FALSE(isOnMarketReportSchedule(at("2025-09-03 10:16:22")));
    EXPECT_FALSE(isOnMarketReportSchedule(at("2025-09-06 10:15:22")));  // Saturday
    EXPECT_FALSE(isOnMarketReportSchedule(at("2025-09-07 10:15:22")));  // Sunday
    EXPECT_TRUE(isOnMarketReportSchedule(at("2025-09-05 23:30:23")));   // Friday evening
    EXPECT_TRUE(isOnMarketReportSchedule(at("2025-09-01 09:40:21")));   // Monday
    EXPECT_FALSE(isOnMarketReportSchedule(at("2025-09-01 09:41:21")));
}

TEST(MarketReportSchedule, LineWithoutLeadingZeros) {
    EXPECT_EQ(marketReportScheduleLine(at("2025-09-03 10:05:02")), "202593 Wed 10:5:2\n");
}

TEST(MarketReportGuard, ASecondRunWhileOneIsGoingIsSkipped) {
    MarketReportGuard guard;
    std::atomic<bool> started{false}, release{false};
    std::atomic<int> runs{0};
    std::thread first([&] {
        EXPECT_TRUE(guard.runUnlessBusy([&] {
            ++runs;
            started = true;
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }));
    });
    while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(guard.busy());
    EXPECT_FALSE(guard.runUnlessBusy([&] { ++runs; }));
    release = true;
    first.join();
    EXPECT_FALSE(guard.busy());
    EXPECT_TRUE(guard.runUnlessBusy([&] { ++runs; }));
    EXPECT_EQ(runs.load(), 2);
}

TEST(MarketReportGuard, ARunThatThrowsStillReleasesTheGuard) {
    MarketReportGuard guard;
    EXPECT_THROW(guard.runUnlessBusy([] { throw 1; }), int);
    EXPECT_FALSE(guard.busy());
}
