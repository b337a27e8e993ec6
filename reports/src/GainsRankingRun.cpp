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

std::filesystem::path phraseTodayGainsData(QXStockLib& lib, const Array& list) {
    return sortHuShenGainsForText(lib, filterMyStockArray(lib, list, true, kBreakScore));
}

bool processFilterStockFromHuShenGainsData(QXStockLib& lib, Array list) {
    if (running().exchange(true)) {
        ORVANE_LOG("a gains screening is already running");
        return false;
    }
    std::thread([&lib, list = std::move(list)] {
        phraseTodayGainsData(lib, list);
        running() = false;
    }).detach();
    return true;
}

bool isGainsRankingRunning() {
    return running().load();
}

}  // namespace orvane
