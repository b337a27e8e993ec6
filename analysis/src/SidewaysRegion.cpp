#include "orvane/analysis/SidewaysRegion.h"

namespace orvane {

bool isIndexCode(std::string_view code) {
    return code.starts_with("399");
}
bool isCompositeCode(std::string_view code) {
    return code.starts_with("399") || code.starts_with("510");
}

float regionBand(std::uint32_t kind, std::string_view code) {
    float band;
    switch (kind) {
        case kRegionWide:
            band = 1.25f;
            break;
        case kRegionNarrow:
            band = 1.12f;
            break;
        default:
            band = 1.17f;
            break;  // medium, model B and any other kind
    }
    if (isIndexCode(code)) band = (band - 1.0f) * 0.5f + 1.0f;
    return band;
}

std::int32_t getStockSildeWaysRgn(const HistoryView& history, std::string_view code,
                                  std::int32_t fromDay, std::uint32_t kind) {
    const float band = regionBand(kind, code);
    const std::int64_t E = history.size();
    if (E - 1 <= fromDay) return -1;
    std::int32_t examined = 0;
    float high = 0, low = 0;
    history.visitCountedCloses(fromDay, E - 1, [&](float c) {
        if (++examined == 1) {
            high = low = c;
        } else {
            if (c > high) high = c;
            if (c < low) low = c;
        }
        return !(high / low > band);
    });
    return examined - 1;
}

LongestRegion longestSidewaysRegion(const HistoryView& history, std::string_view code,
                                    std::uint32_t kind) {
    LongestRegion best;
    for (std::int32_t d = 1; d <= 10; ++d) {
        const std::int32_t length = getStockSildeWaysRgn(history, code, d, kind);
        if (d == 1 || length > best.length) best = {length, d};
    }
    return best;
}

void FilterMode_limitSlideway(const StockBox_Info& box, std::int32_t& score) {
    const float x = box.maxPrice / box.minPrice;
    if (double{x} <= 1.1) {
        if (box.endIndex >= 11) score += 10;
        if (double{box.maxPrice / box.endPrice} <= 1.05) score += 10;
        if (double{box.maxPrice / box.avgPrice} <= 1.05) score += 10;
    } else if (double{x} < 1.15) {
        score += 5;
    }
}

void FilterMode_Quellan(const StockBox_Info& box, const StockBox_Info& next, std::int32_t& score) {
    if (box.endIndex != 5) return;
    if (box.trend == kTrendRising && next.trend == kTrendSideways) score += 10;
    if (double{box.minPrice / next.minPrice} < 1.03) {
        if (double{box.startPrice / next.minPrice} < 1.08 &&
            double{box.startPrice / next.maxPrice} > 0.97)
            score += 10;
        else
            score += 5;
    }
}

}  // namespace orvane
