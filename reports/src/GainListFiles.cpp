#include "orvane/reports/GainListFiles.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/core/PropertyList.h"

namespace orvane {

namespace fs = std::filesystem;

fs::path marketGainListDownload(const MarketGainList& list) {
    return getGainsPath() / list.localName;
}

fs::path parsedGainListPath(const fs::path& download) {
    return fs::path(download).replace_extension("plist");
}

Array readParsedGainLists(std::int32_t direction) {
    Array out;
    for (const MarketGainList& list : kMarketGainLists) {
        if (list.direction != direction) continue;
        const Array parsed =
            readPropertyListArray(parsedGainListPath(marketGainListDownload(list)));
        out.insert(out.end(), parsed.begin(), parsed.end());
    }
    return out;
}

}  // namespace orvane
