#pragma once
// The day's four market gain lists in the Gains folder: each server file,
// its local download and its parsed records ("todayStr" is fixed text, not a
// date). The market information flow and the ranking run replace them, with
// the rest of the day's lists, as one set (StagedFileSet.h) under the data
// folder's lock; the market report reads the parsed records.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

namespace orvane {

struct MarketGainList {
    const char* serverFile;
    const char* localName;
    std::int32_t direction;  // -1 rising, 1 falling
};

/// Rising Shanghai, rising Shenzhen, falling Shanghai, falling Shenzhen.
inline constexpr std::array<MarketGainList, 4> kMarketGainLists = {{
    {"shsortup_new.txt", "todayStr_SortUp_SH.txt", -1},
    {"szsortup_new.txt", "todayStr_SortUp_SZ.txt", -1},
    {"shsortdown_new.txt", "todayStr_SortDown_SH.txt", 1},
    {"szsortdown_new.txt", "todayStr_SortDown_SZ.txt", 1},
}};

/// The name of the staged set of the day's lists in the Gains folder.
inline constexpr const char* kDayListsSet = "day-lists";

/// The list's download path in the Gains folder, and a parsed list's path
/// beside a download.
std::filesystem::path marketGainListDownload(const MarketGainList& list);
std::filesystem::path parsedGainListPath(const std::filesystem::path& download);

/// The filter window's parsed rising list of an exchange's list
/// ("todayStr_SH.plist", "todayStr_SZ.plist"); empty for a falling list.
std::string filterGainListName(const MarketGainList& list);

/// The records of a list's downloaded text, in its direction.
std::vector<StockRecord> gainListRecords(const MarketGainList& list, std::string_view text);

}  // namespace orvane
