#pragma once
// How many trend-up models the data server publishes, and the highest page
// of the model gallery the user has seen ("trendupMode.plist"); their
// difference is the number of new models the main window announces.

#include <cstdint>
#include <stop_token>

namespace orvane::app {

/// The count of "/const/trendupmode/modeini.txt" ("count=" and a number),
/// fetched synchronously with a 5-second time-out; 0 on any error or when
/// the text does not begin with "count=".
std::int32_t getServerTrendModeNum(std::stop_token stop = {});
/// The highest page shown so far; 0 when the file is missing or unreadable.
std::int32_t getLocalTrendModeNum();
/// Stores `page` (atomically) when it exceeds the stored number; false when
/// the file cannot be written.
bool saveFileInfo(std::int32_t page);

}  // namespace orvane::app
