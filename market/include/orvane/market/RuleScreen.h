#pragma once
// A screen: the day's results of the whole market that meet a stock rule.

#include <cstddef>
#include <vector>

#include "orvane/market/DayResults.h"
#include "orvane/market/StockRule.h"

namespace orvane {

class SectorGroups;

struct ScreenOutcome {
    std::vector<std::size_t> met;  // indexes into the results, in their order
    /// Results the rule could not decide (a sector condition without groups).
    std::size_t undecided = 0;
};

/// Every result meeting the rule; `sectors` may be null when the rule reads
/// no sector.
ScreenOutcome screenDayResults(const std::vector<DayResult>& results, const StockRule& rule,
                               const SectorGroups* sectors);

}  // namespace orvane
