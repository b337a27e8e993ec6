// The market gain-list parser, both directions, on arbitrary text, and the
// sector reports and market score over what it keeps.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/market/GainList.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockRecord.h"
#include "orvane/reports/MarketBreadth.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const orvane::SectorGroups groups("/nonexistent/plate", "/nonexistent/composit");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t score = 100;
    const auto up =
        orvane::risingSectorReport(orvane::stockRecordsOf(orvane::parseGainList(text, -1)), groups,
                                   score, orvane::LocalDateTime{2025, 9, 3, 15, 0, 0});
    const auto down = orvane::fallingSectorReport(
        orvane::stockRecordsOf(orvane::parseGainList(text, 1)), groups, score);
    orvane::marketStatusLine(up.strong, down.strong, 1, 1, score);
    return 0;
}
