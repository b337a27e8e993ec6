#include "backtest/BacktestJob.h"

#include <chrono>

#include "orvane/backtest/MarketVerdicts.h"

namespace orvane::app {

BacktestJob::~BacktestJob() {
    stopAndWait();
}

void BacktestJob::start(BacktestMarket market, backtest::Options options, Finished finished) {
    stopAndWait();
    report({});
    // The market's verdicts are kept beside it for the next run.
    if (options.verdictStore.empty())
        options.verdictStore =
            backtest::verdictStorePathFor(market.isCsv() ? market.csvDir : market.tree);
    thread_ = std::jthread([this, market = std::move(market), options = std::move(options),
                            finished = std::move(finished)](std::stop_token stop) {
        const auto started = std::chrono::steady_clock::now();
        auto outcome = std::make_shared<BacktestOutcome>();
        auto progress = [this](const backtest::Progress& p) { report({false, p}); };
        // A store of the very same files keeps the market too: nothing is read then.
        const std::uint64_t key = backtest::sourceFilesKey(filesOf(market), options.jobs);
        if (auto kept = backtest::readKeptMarket(options.verdictStore, key, options.minHistory,
                                                 options.jobs)) {
            outcome->problems = kept->market.problems;
            outcome->run = backtest::runBacktest(std::move(*kept), options, progress, stop);
        } else {
            backtest::MarketLoad load = loadMarket(market, options.jobs);
            load.market.sourceKey = key;
            // The run's notes begin with them, as the window expects.
            outcome->problems = load.market.problems;
            if (load.failure != backtest::SourceFailure::None) {
                outcome->sourceFailure = load.failure;
                outcome->sourceMessage = std::move(load.message);
            } else {
                outcome->run = backtest::runBacktest(load.market, options, progress, stop);
            }
        }
        outcome->seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        finished(std::move(outcome));
    });
}

void BacktestJob::stop() {
    thread_.request_stop();
}

void BacktestJob::stopAndWait() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    thread_.join();
}

BacktestJob::Status BacktestJob::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void BacktestJob::report(const Status& status) {
    std::lock_guard lock(mutex_);
    status_ = status;
}

}  // namespace orvane::app
