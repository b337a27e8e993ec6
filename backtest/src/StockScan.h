#pragma once
// One stock's part of the back-test: its verdict on every day of the range
// (MarketVerdicts.h), the entry after it and the outcomes.

#include <cstdint>
#include <vector>

#include "StockDays.h"
#include "orvane/backtest/Backtest.h"

namespace orvane::backtest {
struct StockVerdicts;
}

namespace orvane::backtest {

/// Signal days as calendar indexes, both included.
struct DayRange {
    std::int32_t first = 0, last = -1;
    bool contains(std::int32_t day) const { return day >= first && day <= last; }
};

/// The stock's signal days: the days of its verdicts within the range.
std::size_t signalDayCount(const StockDays& stock, const StockVerdicts& verdicts, DayRange range);

/// The stock's signals, one a signal day, written to out[0 ..
/// signalDayCount): the day's verdict, the entry by the rule and the returns
/// and drawdowns (the excess comes with the baseline).
void scanStock(const StockDays& stock, const StockVerdicts& verdicts, std::uint32_t stockIndex,
               const Options& options, DayRange range, std::size_t calendarDays, Signal* out);

}  // namespace orvane::backtest
