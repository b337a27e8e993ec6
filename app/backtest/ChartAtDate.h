#pragma once
// Opens a history file in its stock's tab of the program's chart window (a
// new tab, or the one the stock has), with the crosshair on one of its days.

#include <filesystem>
#include <string>

namespace orvane::chart {
class KWindowController;
}

namespace orvane::app {

/// The tab of `history`, its crosshair on `date` (the newest day when the
/// file has no such day); false when no tab could be added.
bool openChartAtDate(chart::KWindowController& charts, const std::filesystem::path& history,
                     const std::string& date);

}  // namespace orvane::app
