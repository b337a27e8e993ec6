#pragma once
// The two cannon patterns the score lists carry, judged on a stock's last
// days (bars oldest first).
//
// Double cannon: two big up days (each closing at least 5% above the day
// before) one to three trading days apart, the days between closing below
// the first big day's close (a pause, not a run), and the second closing
// above the first. It counts when the second big day is one of the last
// five days.
//
// Single cannon: the last day closes at least 7% above the day before after
// ten quiet days, each moving less than 3%.

#include <vector>

#include "orvane/publisher/DailySeries.h"

namespace orvane::server {

/// Pattern types of the score list.
enum PatternType { kPatternNone = 0, kPatternSingleCannon = 1, kPatternDoubleCannon = 4 };

bool isDoubleCannon(const std::vector<DailyBar>& bars);
bool isSingleCannon(const std::vector<DailyBar>& bars);
PatternType patternType(const std::vector<DailyBar>& bars);

}  // namespace orvane::server
