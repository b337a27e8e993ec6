#include "orvane/reports/GainsRankingRun.h"

#include <atomic>
#include <thread>

#include "orvane/core/Log.h"
#include "orvane/reports/GainsRankingReport.h"
#include "orvane/reports/StockScreening.h"

namespace orvane {

namespace {

constexpr std::int32_t kBreakScore = 120;

std::atomic<bool>& running() {
    static std::atomic<bool> flag{false};
    return flag;
}

}  // namespace

GainsReportOutcome phraseTodayGainsData(QXStockLib& lib, const Array& list,
                                        const ScreeningStop& stop) {
    // Nothing to screen (no gain lists, or none asked for): today's report
    // stays as it is rather than being replaced by an empty one.
    if (list.empty()) {
        ORVANE_LOG("no stocks to screen: no report written");
        return {};
    }
    const std::vector<StockRecord> picked = filterMyStockArray(lib, list, true, kBreakScore, stop);
    if (stop && stop()) {
        ORVANE_LOG("gains screening stopped: no report written");
        return {};
    }
    return sortHuShenGainsForText(lib, picked);
}

bool processFilterStockFromHuShenGainsData(
    QXStockLib& lib, Array list, ScreeningStop stop,
    std::function<void(const GainsReportOutcome&)> finished) {
    if (running().exchange(true)) {
        ORVANE_LOG("a gains screening is already running");
        return false;
    }
    std::thread([&lib, list = std::move(list), stop = std::move(stop),
                 finished = std::move(finished)] {
        const GainsReportOutcome outcome = phraseTodayGainsData(lib, list, stop);
        if (outcome.failure) ORVANE_LOG("%s", outcome.failure->c_str());
        running() = false;
        if (finished) finished(outcome);
    }).detach();
    return true;
}

bool isGainsRankingRunning() {
    return running().load();
}

}  // namespace orvane
