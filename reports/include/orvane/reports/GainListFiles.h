#pragma once
// The day's four market gain lists in the Gains folder: each server file,
// its local download and its parsed list ("todayStr" is fixed text, not a
// date). The market information flow writes them, the market report reads
// the parsed lists.

#include <array>
#include <cstdint>
#include <filesystem>

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

/// The list's download path in the Gains folder, and its parsed list's path.
std::filesystem::path marketGainListDownload(const MarketGainList& list);
std::filesystem::path parsedGainListPath(const std::filesystem::path& download);

/// A run's lists are downloaded and parsed beside these, under staging
/// names, and replace them only when all four arrived as lists.
std::filesystem::path stagedGainListDownload(const MarketGainList& list);
std::filesystem::path stagedParsedGainList(const MarketGainList& list);
/// The list whose staged download this is; nothing for any other path.
const MarketGainList* gainListOfStagedDownload(const std::filesystem::path& path);
/// When every list has its staged parsed list: all staged files take their
/// places, true. Otherwise the staged files are removed and the day's
/// downloads stay as they were: false.
bool promoteStagedGainLists();

/// The parsed lists of one direction: the Shanghai array followed by the
/// Shenzhen one; a missing list reads as empty.
std::vector<StockRecord> readParsedGainLists(std::int32_t direction);

}  // namespace orvane
