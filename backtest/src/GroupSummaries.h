#pragma once
// The signals summed up by group: every verdict, then by trend code, by
// model B, by score band and by month.

#include <vector>

#include "orvane/backtest/Backtest.h"

namespace orvane::backtest {

/// The groups in a fixed order: all, the trend codes in ascending order, not
/// model B and model B, the two score bands, the months. Worked out on
/// `jobs` threads, with the same figures on any number.
std::vector<GroupSummary> summarise(const Results& results, int jobs);

/// One group of the signals chosen by `which` (by signal index), summed up
/// as the groups above.
GroupSummary summariseSignals(const Results& results, Grouping grouping, std::string key,
                              std::string label, const std::vector<bool>& which);

}  // namespace orvane::backtest
