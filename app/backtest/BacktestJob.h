#pragma once
// One back-test run of the window on a thread of its own: the market read,
// then the back-test over it, its verdicts kept beside the market
// (MarketVerdicts.h) unless the options name another store. Its progress is read by polling; its
// outcome goes to a callback on the run's thread (the window posts it on). stop() asks the run to
// end (the back-test ends between stocks; a market being read is read to its end first); the
// destructor stops it and waits.

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "backtest/BacktestMarket.h"
#include "orvane/backtest/MarketSource.h"

namespace orvane::app {

struct BacktestOutcome {
    backtest::SourceFailure sourceFailure = backtest::SourceFailure::None;
    std::string sourceMessage;          // why the market could not be read
    std::vector<std::string> problems;  // what was skipped while reading it
    backtest::Run run;                  // its failure None: complete results
    double seconds = 0;
};

class BacktestJob {
  public:
    using Finished = std::function<void(std::shared_ptr<BacktestOutcome>)>;

    BacktestJob() = default;
    ~BacktestJob();
    BacktestJob(const BacktestJob&) = delete;
    BacktestJob& operator=(const BacktestJob&) = delete;

    /// Starts a run (waiting first for an earlier one to end); `finished` is
    /// called once on the run's thread, stopped or not.
    void start(BacktestMarket market, backtest::Options options, Finished finished);
    void stop();
    /// Stops the run and returns once its thread has ended.
    void stopAndWait();

    struct Status {
        bool loading = true;  // the market's files are still being read
        backtest::Progress progress;
    };
    Status status() const;

  private:
    void report(const Status& status);

    mutable std::mutex mutex_;
    Status status_;
    std::jthread thread_;
};

}  // namespace orvane::app
