#include "orvane/server/DailySeries.h"

#include "orvane/core/NumberText.h"
#include "orvane/market/CsvHistory.h"

namespace orvane::server {

std::string historyTextOf(const std::vector<DailyBar>& bars) {
    std::string out;
    out.reserve(kHistoryHeader.size() + 1 + bars.size() * 56);
    out.append(kHistoryHeader).push_back('\n');
    for (auto it = bars.rbegin(); it != bars.rend(); ++it)
        out += it->date + format(",%.2f,%.2f,%.2f,%.2f,%.0f,%.2f\n", it->open, it->high, it->low,
                                 it->close, it->volume, it->close);
    return out;
}

}  // namespace orvane::server
