#include "orvane/analysis/RiseMeasures.h"

#include <algorithm>

#include "orvane/analysis/SidewaysRegion.h"

namespace orvane {

float getMaxRise(const HistoryView& history, std::string_view code, std::int32_t offset) {
    if (isIndexCode(code)) return 1.0f;
    const std::int64_t E = history.size();
    float high = 0, low = 0;
    if (E - 1 <= offset) return high / low;
    int taken = 0;
    for (std::int64_t i = std::max<std::int32_t>(offset, 0); i < E - 1 && taken < 11; ++i) {
        const DayLine& line = history[i];
        if (line.empty() || line.fields < 7 || !line.traded) continue;
        const float c = line.close;
        if (taken++ == 0) {
            high = low = c;
        } else {
            if (c > high) high = c;
            if (c < low) low = c;
        }
    }
    return high / low;
}

float getMaxPrice(const HistoryView& history, std::string_view code, std::int32_t lastDay) {
    if (isIndexCode(code)) return 1.0f;
    const std::int64_t E = history.size();
    if (E - 1 < 3) return 1.0f;
    float high = 1.0f;
    std::int32_t taken = 0;
    for (std::int64_t i = 2; i < E - 1; ++i) {
        const DayLine& line = history[i];
        if (line.length < 5 || line.fields < 7) continue;
        if (line.close > high) high = line.close;
        if (taken >= lastDay) break;
        ++taken;
    }
    return high;
}

float getMaxRiseThreedays(const HistoryView& history, float close, float yesClose) {
    const std::int64_t E = history.size();
    if (E >= 1 && E <= 4) return 1.0f;
    const float r0 = close / yesClose;
    auto closeOf = [&](std::int64_t i) { return history[i].fields == 7 ? history[i].close : 0.0f; };
    const float c1 = closeOf(1), c2 = closeOf(2), c3 = closeOf(3);
    // A running maximum; an undefined first ratio stays undefined.
    float best = c2 / c3;
    if (c1 / c2 > best) best = c1 / c2;
    if (r0 > best) best = r0;
    return best;
}

std::int32_t calStockBigRises(const HistoryView& history, float close) {
    const std::int64_t E = std::min<std::int64_t>(history.size(), 226);
    float prev = close;
    std::int32_t count = 0;
    for (std::int64_t i = 1; i < E; ++i) {
        const DayLine& line = history[i];
        if (line.empty() || line.fields < 7) continue;
        const float c = line.close;
        if (double{(prev - c) / c} > 0.035) ++count;
        prev = c;
    }
    return count;
}

}  // namespace orvane
