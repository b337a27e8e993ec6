#pragma once
// One stock's verdicts on its days, as during each day's session.

#include <future>
#include <limits>
#include <optional>
#include <string>

#include "StockScan.h"
#include "orvane/backtest/MarketVerdicts.h"

namespace orvane::backtest {

/// Every day of the calendar.
inline constexpr DayRange kWholeCalendar{0, std::numeric_limits<std::int32_t>::max()};

/// The stock's verdicts on its days within `range` on which it traded with at
/// least `minHistory` days before it, oldest first.
StockVerdicts verdictsOf(const StockDays& stock, int minHistory, DayRange range);

}  // namespace orvane::backtest

namespace orvane::backtest {

/// The store being written: at its end, why it could not be, or nothing.
using StoreWrite = std::future<std::optional<std::string>>;

/// The verdicts a back-test works out, one list a prepared stock: with
/// `options.verdictStore`, every day's, and the store replaced with them and
/// the market (`unread` holding, by stock of the market, why a stock's
/// prices could not be read) on a thread of its own, `storing`; without,
/// the days of `range` alone.
std::vector<StockVerdicts> verdictsForRun(const Market& market, std::vector<StockDays>& stocks,
                                          std::vector<PriceRead>& unread, const Options& options,
                                          DayRange range, const ProgressSink& progress,
                                          std::stop_token stop, StoreWrite& storing);

}  // namespace orvane::backtest
