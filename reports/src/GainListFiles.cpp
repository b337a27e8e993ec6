#include "orvane/reports/GainListFiles.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/market/GainList.h"

namespace orvane {

namespace fs = std::filesystem;

fs::path marketGainListDownload(const MarketGainList& list) {
    return getGainsPath() / list.localName;
}

fs::path parsedGainListPath(const fs::path& download) {
    return fs::path(download).replace_extension("plist");
}

std::string filterGainListName(const MarketGainList& list) {
    if (&list == &kMarketGainLists[0]) return "todayStr_SH.plist";
    if (&list == &kMarketGainLists[1]) return "todayStr_SZ.plist";
    return {};
}

std::vector<StockRecord> gainListRecords(const MarketGainList& list, std::string_view text) {
    return stockRecordsOf(parseGainList(text, list.direction));
}

}  // namespace orvane
