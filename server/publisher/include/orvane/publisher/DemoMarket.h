#pragma once
// The built-in demo market that `orvane-server demo` serves.

#include <filesystem>
#include <optional>
#include <string_view>

#include "orvane/core/LocalTime.h"

namespace orvane::server {

/// The file in a demo tree naming how its files are laid out, and the
/// layout this program publishes (quote copies with volumes in shares).
inline constexpr const char* kDemoTreeLayoutFile = "demo-layout.txt";
inline constexpr std::string_view kDemoTreeLayout = "quote copies: volume in shares\n";

/// Makes sure `tree` holds a published demo market whose last day is the
/// last trading day before today (TradingCalendar.h): publishes the synthetic market there when it
/// is not there yet, ends earlier (its "today" moves with the calendar) or
/// was laid out otherwise (by another version of the program).
/// False (with a log line saying why) when the tree could not be made.
bool ensureDemoTree(const std::filesystem::path& tree);

/// The last trading day of the demo tree at `tree`, or nothing without one.
std::optional<LocalDateTime> demoTreeLastDay(const std::filesystem::path& tree);

}  // namespace orvane::server
