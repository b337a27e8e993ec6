#pragma once
// Sideways regions: runs of valid days whose highest close divided by the
// lowest stays within a band.

#include <cstdint>
#include <string_view>

#include "orvane/analysis/HistoryLines.h"
#include "orvane/analysis/StockBoxInfo.h"

namespace orvane {

/// Region kinds and the bands they measure with.
enum RegionKind : std::uint32_t {
    kRegionWide = 1001,
    kRegionMedium = 1002,
    kRegionNarrow = 1003,
    kRegionModelB = 1004
};

bool isIndexCode(std::string_view code);      // begins "399"
bool isCompositeCode(std::string_view code);  // begins "399" or "510"

/// The band limit of a kind, halved around 1 for index codes.
float regionBand(std::uint32_t kind, std::string_view code);

/// Valid days (not empty, 7 fields, volume not below 10) from `fromDay` on
/// before the first day that breaks the band; -1 when the text ends first.
std::int32_t getStockSildeWaysRgn(const HistoryView& history, std::string_view code,
                                  std::int32_t fromDay, std::uint32_t kind);

/// The longest region over start offsets 1 to 10 (the smallest offset among
/// equals).
struct LongestRegion {
    std::int32_t length = -1;
    std::int32_t startOffset = 1;
};
LongestRegion longestSidewaysRegion(const HistoryView& history, std::string_view code,
                                    std::uint32_t kind);

// Point rules on window statistics; each adds to `score`.
void FilterMode_limitSlideway(const StockBox_Info& box, std::int32_t& score);
void FilterMode_Quellan(const StockBox_Info& box, const StockBox_Info& next, std::int32_t& score);

}  // namespace orvane
