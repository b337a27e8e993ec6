#pragma once
// The closures table: the weekdays on which the exchanges do not trade.

#include <span>
#include <string_view>

namespace orvane::closures {

/// The first and last years whose published calendar the table holds.
int firstPublishedYear();
int lastPublishedYear();

/// The closed weekdays of the published years, "yyyy-MM-dd", in order.
std::span<const std::string_view> closedWeekdays();

}  // namespace orvane::closures
