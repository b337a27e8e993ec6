#include "orvane/market/ExRightsGaps.h"

#include <cmath>
#include <cstdio>

#include "orvane/market/PriceLimits.h"

namespace orvane {

namespace {
constexpr double kSlack = 0.005;
}

bool opensBeyondLimitDown(double open, double before, double limit) {
    return before > 0 && open / before - 1 < -limit - kSlack;
}

std::vector<SuspectGap> suspectExRightsGaps(std::string_view code,
                                            const std::vector<DailyBar>& bars, bool st,
                                            bool listedInData) {
    const Board board = boardOf(code);
    std::vector<SuspectGap> out;
    for (std::size_t i = 1; i < bars.size(); ++i) {
        const double before = bars[i - 1].close;
        if (!(before > 0)) continue;
        const auto limit = dailyLimitOf(board, bars[i].date, st, listingDayOf(i, listedInData));
        if (limit && opensBeyondLimitDown(bars[i].open, before, *limit))
            out.push_back({bars[i].date, bars[i].open / before - 1, *limit});
    }
    return out;
}

std::string describeGap(std::string_view code, const SuspectGap& gap) {
    char text[128];
    std::snprintf(text, sizeof text, "%s: \u2212%.0f%% at the open, beyond the %.0f%% limit",
                  gap.date.c_str(), std::fabs(gap.openMove) * 100, gap.limit * 100);
    return std::string(code) + " " + text;
}

}  // namespace orvane
