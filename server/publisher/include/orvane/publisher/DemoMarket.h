#pragma once
// The built-in demo market that `orvane-server demo` serves.

#include <filesystem>
#include <optional>

#include "orvane/core/LocalTime.h"

namespace orvane::server {

/// Makes sure `tree` holds a published demo market whose last day is the
/// last trading day before today (TradingCalendar.h): publishes the synthetic market there when it
/// is not there yet or ends earlier (its "today" moves with the calendar).
/// False (with a log line saying why) when the tree could not be made.
bool ensureDemoTree(const std::filesystem::path& tree);

/// The last trading day of the demo tree at `tree`, or nothing without one.
std::optional<LocalDateTime> demoTreeLastDay(const std::filesystem::path& tree);

}  // namespace orvane::server
