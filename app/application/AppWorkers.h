#pragma once
// The application's four background workers, each on its own thread:
//   1 the market report, once (also started by the recompute button);
//   2 the holdings' quotes, refreshed every 5 seconds;
//   3 the clock, once a second, and the market report on its schedule: once
//     for each scheduled minute, 300 seconds after it is hit, waited for on
//     a thread of its own so that the clock never stops;
//   4 the trend-up model count, 3 seconds after start and then every 301
//     seconds.
// Market-report runs never overlap: a run asked for while one goes is
// skipped (MarketReportGuard). Workers never touch a widget: the hooks they
// call post to the main thread. stopAll() (on quit) wakes every sleeping
// worker, cancels what can be cancelled and joins them all.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace orvane::app {

struct WorkerHooks {
    /// Worker 3, once a second (posts the clock update to the main thread).
    std::function<void()> updateStatusTimes;
    /// Worker 4's check, on its thread (may wait for the network; a
    /// request in flight is cancelled when the worker must stop).
    std::function<void(std::stop_token)> updateNotifyTrendMode;
    /// Worker 2's round of quotes. When set it quotes the holdings too (in
    /// one request with the window's other stocks, see LiveDay) in place of
    /// the holdings' own request a stock.
    std::function<void(std::stop_token)> quoteRound;
    /// Worker 2, after each refresh of the holdings' quotes.
    std::function<void(std::stop_token)> holdingsRefreshed;
    /// The scheduled market report, after its delay (by default one run of
    /// the market report unless one goes).
    std::function<void(std::stop_token)> scheduledMarketReport;
    std::chrono::milliseconds scheduledReportDelay = std::chrono::seconds(300);
};

class AppWorkers {
  public:
    explicit AppWorkers(WorkerHooks hooks);
    ~AppWorkers();
    AppWorkers(const AppWorkers&) = delete;
    AppWorkers& operator=(const AppWorkers&) = delete;

    /// Worker 1: one market-report run (skipped while another runs).
    void detachMmarketReportThread();
    /// Worker 2: the holdings' quote loop.
    void detachStockInfoReportThread();
    /// Workers 3 and 4; only the first call in a process starts them.
    void startScheduleAndTrendModeWorkers();

    void stopAll();
    /// How many worker threads were started so far.
    std::size_t startedCount() const;

    /// Sleeps up to `duration`; false when the worker must stop.
    static bool sleepFor(std::stop_token stop, std::chrono::milliseconds duration);

  private:
    void start(std::function<void(std::stop_token)> body);
    void marketReportThread(std::stop_token stop);
    void newMsgReportThread(std::stop_token stop);

    WorkerHooks hooks_;
    mutable std::mutex mutex_;
    bool scheduleStarted_ = false;
    bool stopped_ = false;
    std::size_t started_ = 0;
    std::vector<std::jthread> threads_;
};

/// One market-report run on the calling thread, unless one is going; it
/// returns early when `stop` is requested.
void runMarketReportUnlessBusy(std::stop_token stop);

}  // namespace orvane::app
