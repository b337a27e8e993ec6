// The clock worker: it ticks every second, and a scheduled market report
// waits on its own thread, once for each scheduled minute.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "application/AppWorkers.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"

using namespace orvane;
using namespace orvane::app;
using namespace std::chrono_literals;

namespace {

/// A clock that moves one second each time it is read.
class SteppingClock final : public Clock {
  public:
    explicit SteppingClock(TimePoint start) : start_(start) {}
    TimePoint now() const override { return start_ + std::chrono::seconds(reads_++); }

  private:
    TimePoint start_;
    mutable std::atomic<int> reads_{0};
};

struct ClockInstalled {
    explicit ClockInstalled(std::shared_ptr<Clock> clock) { Clock::install(std::move(clock)); }
    ~ClockInstalled() { Clock::install(nullptr); }
};

}  // namespace

TEST(AppWorkers, TheClockTicksWhileAScheduledReportWaitsAndTheReportRunsOnceAMinute) {
    // Wednesday 10:15:21: seconds 21 to 24 of a scheduled minute all match.
    ClockInstalled clock(std::make_shared<SteppingClock>(fromLocal({2025, 12, 10, 10, 15, 21})));
    std::atomic<int> ticks{0}, reports{0};
    AppWorkers workers(WorkerHooks{
        .updateStatusTimes = [&] { ++ticks; },
        .scheduledMarketReport = [&](std::stop_token) { ++reports; },
        .scheduledReportDelay = 200ms,
    });
    workers.startScheduleAndTrendModeWorkers();
    std::this_thread::sleep_for(3500ms);
    // Four ticks in 3.5 s (the first at once), not one and then five
    // minutes of a frozen clock.
    EXPECT_GE(ticks.load(), 3);
    EXPECT_EQ(reports.load(), 1);

    // A report still waiting is stopped with the workers, at once.
    ClockInstalled again(std::make_shared<SteppingClock>(fromLocal({2025, 12, 10, 10, 30, 21})));
    AppWorkers waiting(WorkerHooks{.scheduledMarketReport = [&](std::stop_token) { ++reports; }});
    waiting.startScheduleAndTrendModeWorkers();
    std::this_thread::sleep_for(300ms);
    const auto before = std::chrono::steady_clock::now();
    waiting.stopAll();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
    EXPECT_EQ(reports.load(), 1);
    workers.stopAll();
}
