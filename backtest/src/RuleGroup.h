#pragma once
// A user's rule over the back-test's signals: each signal's day gives the
// rule the facts the day's results would have given (the verdict, the gains,
// the day's move and close, the stock's code, name and sector groups), and
// "limitup" is the signal's own entry at the limit-up price.

#include <vector>

#include "orvane/backtest/Backtest.h"
#include "orvane/market/StockFacts.h"

namespace orvane::backtest {

/// The facts of one signal; sectors as given (nothing: unknown).
StockFacts factsOfSignal(const Results& results, const Signal& signal,
                         std::optional<std::vector<std::string>> sectors);

/// By signal, whether it meets the rule; an undecided signal does not.
std::vector<bool> signalsMeeting(const Results& results, const RuleChoice& choice);

}  // namespace orvane::backtest
