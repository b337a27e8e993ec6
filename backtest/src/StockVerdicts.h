#pragma once
// One stock's verdicts on its days, as during each day's session.

#include <limits>

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

/// The verdicts a back-test reads, one list a prepared stock: with
/// `options.verdictStore`, those of the store when it holds this market's,
/// else every day's, worked out and stored (a store that cannot be written is
/// said in `notes`); without, worked out for the days of `range` alone.
/// `fromStore` tells whether the store held them.
std::vector<StockVerdicts> verdictsForRun(const Market& market,
                                          const std::vector<StockDays>& stocks,
                                          const Options& options, DayRange range,
                                          const ProgressSink& progress, std::stop_token stop,
                                          std::vector<std::string>& notes, bool& fromStore);

}  // namespace orvane::backtest
