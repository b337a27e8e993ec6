#pragma once
// The web-search targets of the main window: the day K-line chart, or one of
// seven finance portals whose quote page for a stock is opened in the
// browser.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::app {

inline constexpr const char* kDayChartTarget = "日K线";

/// The targets in menu order: the day chart, then the portals.
const std::vector<std::string>& webSearchTargets();

/// The portal page of a valid stock code for a portal target; nothing for
/// the day chart, an unknown target or an invalid code.
std::optional<std::string> portalPageURL(std::string_view target, std::string_view code);

}  // namespace orvane::app
