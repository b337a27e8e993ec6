#include "orvane/reports/GainListFiles.h"

#include <algorithm>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/PropertyList.h"

namespace orvane {

namespace fs = std::filesystem;

fs::path marketGainListDownload(const MarketGainList& list) {
    return getGainsPath() / list.localName;
}

fs::path parsedGainListPath(const fs::path& download) {
    return fs::path(download).replace_extension("plist");
}

fs::path stagedGainListDownload(const MarketGainList& list) {
    return incomingPathFor(marketGainListDownload(list));
}

fs::path stagedParsedGainList(const MarketGainList& list) {
    return incomingPathFor(parsedGainListPath(marketGainListDownload(list)));
}

const MarketGainList* gainListOfStagedDownload(const fs::path& path) {
    for (const MarketGainList& list : kMarketGainLists)
        if (path == stagedGainListDownload(list)) return &list;
    return nullptr;
}

bool promoteStagedGainLists() {
    std::error_code ec;
    const bool complete = std::all_of(
        kMarketGainLists.begin(), kMarketGainLists.end(),
        [&](const MarketGainList& list) { return fs::exists(stagedParsedGainList(list), ec); });
    bool placed = complete;
    for (const MarketGainList& list : kMarketGainLists) {
        const fs::path download = marketGainListDownload(list);
        if (complete) {
            placed = renameFile(stagedGainListDownload(list), download) && placed;
            placed = renameFile(stagedParsedGainList(list), parsedGainListPath(download)) && placed;
        } else {
            fs::remove(stagedGainListDownload(list), ec);
            fs::remove(stagedParsedGainList(list), ec);
        }
    }
    return placed;
}

std::vector<StockRecord> readParsedGainLists(std::int32_t direction) {
    std::vector<StockRecord> out;
    for (const MarketGainList& list : kMarketGainLists) {
        if (list.direction != direction) continue;
        const std::vector<StockRecord> parsed =
            stockRecordsOf(readPropertyListArray(parsedGainListPath(marketGainListDownload(list))));
        out.insert(out.end(), parsed.begin(), parsed.end());
    }
    return out;
}

}  // namespace orvane
