#include "orvane/analysis/StockBoxInfo.h"

#include <algorithm>

namespace orvane {

float windowThreshold(std::int64_t n) {
    if (n <= 0) return 1.0f;
    if (n < 10) return 1.09f;
    if (n < 30) return 1.15f;
    if (n < 100) return 1.2f;
    if (n < 200) return 1.25f;
    return 1.3f;
}

std::uint32_t classifyWindow(const StockBox_Info& box, std::int64_t countedDays) {
    const float F = box.startPrice, L = box.endPrice, A = box.avgPrice, H = box.maxPrice,
                M = box.minPrice;
    if (double{F / A} >= 1.065 && double{F / L} >= 1.2 && H / F <= windowThreshold(countedDays) &&
        double{H / M} >= 1.3)
        return kTrendRising;
    if (double{F / L} < 0.81 && double{F / A} <= 0.95 && double{F / M} >= 0.95 &&
        double{A / L} <= 0.95)
        return kTrendFalling;
    if (H / M < 2.25f && double{F / M} >= 0.95 && double{F / A} <= 1.065 &&
        double{L / A} <= 1.065 && double{A / M} <= 1.1715)
        return kTrendSideways;
    return kTrendUnclear;
}

StockBox_Info windowStatistics(const HistoryView& history, std::int32_t days, std::int32_t offset) {
    StockBox_Info box;
    const std::int64_t E = history.size();
    box.endIndex =
        static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{offset} + days, E - 1) - 1);

    std::int64_t count = 0;
    float sum = 0, first = 0, high = 0, low = 0, last = 0;
    history.visitCountedCloses(offset, E, [&](float c) {
        ++count;
        sum += c;
        if (count == 1) {
            first = high = low = c;
        } else {
            if (c > high) high = c;
            if (c < low) low = c;
        }
        last = c;
        return count < days;
    });
    if (count > 0) {
        box.startPrice = first;
        box.maxPrice = high;
        box.minPrice = low;
        box.endPrice = last;
    }
    box.avgPrice = sum / static_cast<float>(count);
    box.trend = classifyWindow(box, count);
    return box;
}

}  // namespace orvane
