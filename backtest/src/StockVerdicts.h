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

/// The verdicts a back-test works out, one list a prepared stock: with
/// `options.verdictStore`, every day's, and the store replaced with them and
/// the market (a store that cannot be written is said in `notes`; `unread`
/// holds, by stock of the market, why a stock's prices could not be read);
/// without, the days of `range` alone.
std::vector<StockVerdicts> verdictsForRun(const Market& market, std::vector<StockDays>& stocks,
                                          std::vector<PriceRead>& unread, const Options& options,
                                          DayRange range, const ProgressSink& progress,
                                          std::stop_token stop, std::vector<std::string>& notes);

}  // namespace orvane::backtest
