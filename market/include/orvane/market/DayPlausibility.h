#pragma once
// Days a daily CSV cannot truly hold: a line that parses may still describe
// a trade that never was (a price of 0, a high under the low, a date to
// come, a close a hundred times the day before). Such a day is refused, not
// read into a history.

#include <optional>
#include <string>
#include <string_view>

#include "orvane/market/CsvHistory.h"

namespace orvane {

/// A day-to-day move no board's price limit and no ex-rights day explains:
/// a price more than this many times the previous close, or less than its
/// share of it.
inline constexpr double kImpossibleMoveFactor = 10.0;

/// Why `day` cannot have happened on its own, or nothing: a price not above
/// 0, a high below the low, the open or the close, a negative volume, or a
/// date after `today` (both "yyyy-MM-dd").
std::optional<std::string> impossibilityOf(const DailyBar& day, std::string_view today);

/// Why `day` cannot follow a day that closed at `previousClose`, or nothing:
/// one of its prices moved beyond ten times or a tenth of that close.
std::optional<std::string> impossibleMoveFrom(double previousClose, const DailyBar& day);

}  // namespace orvane
