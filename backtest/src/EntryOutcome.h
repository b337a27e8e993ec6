#pragma once
// Buying a stock after a signal and what the position did by each horizon:
// the entry rule, the limit-up rule and the measure of returns and
// drawdowns (Backtest.h states the rules).

#include <cstddef>
#include <string_view>
#include <vector>

#include "PriceDays.h"
#include "orvane/backtest/Backtest.h"

namespace orvane::backtest {

/// The largest move a day allows: 20% on the growth boards (codes 30x and
/// 68x), 5% for ST shares (a name with "ST"), 10% otherwise.
double limitUpMove(std::string_view code, std::string_view name);

/// Whether a price is at the limit up from the previous close: at or above
/// the limit-up price (the previous close moved by the limit, rounded to the
/// cent as the exchanges set it; under 5 yuan it can lie below the limit),
/// or within 0.1 point of the full move.
bool atLimitUp(double price, double previousClose, double move);

struct EntryPoint {
    Entry state = Entry::NoLaterDay;
    double price = 0;
    std::size_t firstRow = 0;  // the first day whose low and close count
};

/// The entry after the signal on days[signal] by the rule.
EntryPoint enterAfter(const std::vector<PriceDay>& days, std::size_t signal, EntryPrice rule,
                      double limitMove, std::size_t calendarDays);

/// The position's outcome at each horizon (trading days after the signal
/// day); horizons the data does not cover keep kNoFigure. Only the returns
/// and drawdowns are set.
void measureOutcomes(const std::vector<PriceDay>& days, std::size_t signal, const EntryPoint& entry,
                     const std::vector<int>& horizons, std::size_t calendarDays,
                     std::array<Outcome, kMaxHorizons>& outcomes);

/// Whether an entry counts in the figures under the options.
inline bool counts(Entry entry, bool tradableOnly) {
    return entry == Entry::Filled || (entry == Entry::LimitUp && !tradableOnly);
}

}  // namespace orvane::backtest
