#include "orvane/chart/KDerivedValues.h"

#include <cstddef>

namespace orvane::chart {

namespace {

// Mean of the `length` closes ending at day i, summed from day i backward.
float closeAverage(const std::vector<KSection>& days, std::size_t i, std::size_t length) {
    float sum = 0;
    for (std::size_t k = 0; k < length; ++k) sum += days[i - k].closePrice;
    return sum / static_cast<float>(length);
}

}  // namespace

void calculateRiseFallAndMA(std::vector<KSection>& days) {
    for (std::size_t i = 0; i < days.size(); ++i) {
        KSection& day = days[i];
        day.selectioID = static_cast<std::int32_t>(i);
        if (i >= 4) day.ma5 = closeAverage(days, i, 5);
        if (i >= 9) day.ma10 = closeAverage(days, i, 10);
        if (i >= 19) day.ma20 = closeAverage(days, i, 20);
        if (i >= 29) day.ma30 = closeAverage(days, i, 30);
        if (i >= 1) {
            const float previous = days[i - 1].closePrice;
            day.riseFall = (day.closePrice - previous) / previous * 100.0f;
            day.swing = (day.highPrice - day.lowPrice) / previous * 100.0f;
        }
    }
}

}  // namespace orvane::chart
