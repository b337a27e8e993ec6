#pragma once
// The equal-weighted market the signals are measured against.

#include <vector>

#include "StockScan.h"

namespace orvane::backtest {

/// One entry a day of the range: the market's move and, per horizon, the
/// mean return of every stock entered by the options' rule on that day
/// (verdict or not; a day with a signal takes the signal's entry and
/// returns, stock k's signals being signals[firstSignal[k] ..
/// firstSignal[k + 1])). Days are summed on `options.jobs` threads, each
/// day's stocks in order, so the figures do not depend on how the work was
/// split.
std::vector<BaselineDay> marketBaseline(const std::vector<StockDays>& stocks,
                                        const std::vector<Signal>& signals,
                                        const std::vector<std::size_t>& firstSignal,
                                        const Options& options, DayRange range,
                                        std::size_t calendarDays);

/// Sets each signal's excess: its return less the baseline of its day.
void addExcess(std::vector<Signal>& signals, const std::vector<BaselineDay>& baseline,
               DayRange range, std::size_t horizons);

}  // namespace orvane::backtest
