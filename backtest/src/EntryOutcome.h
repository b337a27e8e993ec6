#pragma once
// Buying a stock after a signal and what the position did by each horizon:
// the entry rule with its limit-up flag, the exit rules (T+1, no sale on a
// suspended day nor at the limit down) and the measure of returns, net
// returns and drawdowns (Backtest.h states the rules).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "StockDays.h"
#include "orvane/backtest/Backtest.h"

namespace orvane::backtest {

struct EntryPoint {
    Entry state = Entry::NoLaterDay;
    double price = 0;
    std::size_t row = 0;       // the entry day
    std::size_t firstRow = 0;  // the first day whose low and close count
};

/// The entry after the signal on days[signal] by the rule.
EntryPoint enterAfter(const StockDays& stock, std::size_t signal, EntryPrice rule,
                      std::size_t calendarDays);

/// The first day from `row` on that the stock can be sold at its close, or
/// days.size() when the data shows none.
std::size_t firstSellableFrom(const StockDays& stock, std::size_t row);

/// What measureOutcomes found beside the outcomes.
struct Exits {
    std::uint8_t delayed = 0;  // bit h: the exit of horizon index h moved
    std::size_t lastRow = 0;   // the latest exit day (0: no horizon complete)
};

/// The position's outcome at each horizon (trading days after the signal
/// day); horizons the data does not cover keep kNoFigure. The excess is
/// left for the baseline.
Exits measureOutcomes(const StockDays& stock, std::size_t signal, const EntryPoint& entry,
                      const Options& options, std::size_t calendarDays,
                      std::array<Outcome, kMaxHorizons>& outcomes);

/// Whether an entry counts in the figures under the options.
inline bool counts(Entry entry, bool tradableOnly) {
    return entry == Entry::Filled || (entry == Entry::LimitUp && !tradableOnly);
}

}  // namespace orvane::backtest
