#include "orvane/analysis/Acceleration.h"

#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/StockBoxInfo.h"
#include "orvane/core/Log.h"

namespace orvane {

bool isAcceleration(const HistoryView& history, const TodayTrade& today, const LocalDateTime& now) {
    const std::int32_t D = daysBefortoday(history, now);
    if (D < 0 || D > 3) return false;

    // Rises of the three-day blocks at offsets 1, 4, 7, 11 and 14.
    static constexpr std::int32_t kOffsets[5] = {1, 4, 7, 11, 14};
    float g[5];
    float newest = 1.0f;
    for (int k = 0; k < 5; ++k) {
        const StockBox_Info box = windowStatistics(history, 3, kOffsets[k]);
        g[k] = box.startPrice / box.endPrice - 1.0f;
        if (k == 0) newest = box.startPrice;
    }
    const float a0 = today.close / newest - 1.0f;
    const float G = ((((g[0] + g[1]) + g[2]) + g[3]) + g[4]) / 5.0f;
    const float g1 = g[0];

    bool yes = false;
    switch (D) {
        case 0:
            yes = g1 / G > 2.5f && double{g1} > 0.06;
            break;
        case 1:
            yes = g1 / G > 1.0f;
            break;
        case 2:
            yes = a0 / G > 2.5f && a0 / g1 > 2.5f;
            break;
        case 3:
            yes = (a0 / G > 3.0f && a0 / g1 > 3.5f) || (double{a0} > 9.9 && a0 / g1 > 1.0f);
            break;
    }
    if (yes) {
        if (D == 0)
            ORVANE_LOG(" %s: Angle = %.3f ,%.3f ,%.3f ,%.3f %.3f ,", today.code.c_str(), g1 * 100.0,
                       g[1] * 100.0, g[2] * 100.0, g[3] * 100.0, G * 100.0);
        else
            ORVANE_LOG(" %s: Angle =%.3f, %.3f ,%.3f ,%.3f ,%.3f %.3f ,", today.code.c_str(),
                       a0 * 100.0, g1 * 100.0, g[1] * 100.0, g[2] * 100.0, g[3] * 100.0, G * 100.0);
    }
    return yes;
}

}  // namespace orvane
