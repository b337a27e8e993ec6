#pragma once
// The market a back-test of the window runs over: a published tree (by
// default the demo market the embedded server serves) or a folder of daily
// CSV files with their stock list. Read whole for a run; one stock's history
// read again for its chart, cut a few days after a signal so that the chart,
// which shows the newest days, shows the signal's day and what followed.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::backtest {
struct MarketLoad;
struct MarketFiles;
}  // namespace orvane::backtest

namespace orvane::app {

struct BacktestMarket {
    std::filesystem::path tree;               // a published tree, or
    std::filesystem::path csvDir, stockList;  // daily CSV files with their list
    bool isCsv() const { return !csvDir.empty(); }
};

/// Every stock of the market, read on `jobs` threads (0: one per processor).
backtest::MarketLoad loadMarket(const BacktestMarket& market, int jobs = 0);
/// The files it is read from, which its verdict store is keyed by.
backtest::MarketFiles filesOf(const BacktestMarket& market);

/// One stock's history text as a run reads it (header, newest day first),
/// without the days after `lastDate` ("yyyy-MM-dd"); nothing when the stock's
/// file cannot be read.
std::optional<std::string> stockHistoryUntil(const BacktestMarket& market, const std::string& code,
                                             const std::string& lastDate);

/// A history text without the day lines dated after `lastDate`.
std::string historyUntil(std::string_view history, std::string_view lastDate);

}  // namespace orvane::app
