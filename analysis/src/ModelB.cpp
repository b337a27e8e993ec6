#include "orvane/analysis/ModelB.h"

#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/RiseMeasures.h"
#include "orvane/analysis/SidewaysRegion.h"
#include "orvane/analysis/StockBoxInfo.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

bool FilterModeB_BuyA(const HistoryView& history, const TodayTrade& trade) {
    const float C = trade.close;
    // The cheap conditions first; every measure is free of side effects.
    const float m3 = getMaxRiseThreedays(history, C, trade.yesClose);
    if (!(double{m3} > 1.0888)) return false;
    const float P = getMaxPrice(history, trade.code, 100);
    if (!(double{C / P} > 0.98 && double{C / P} < 1.15)) return false;
    const LongestRegion region = longestSidewaysRegion(history, trade.code, kRegionModelB);
    if (region.length < 14) return false;
    const float S = (getMaxRise(history, trade.code, 2) + getMaxRise(history, trade.code, 3)) +
                    getMaxRise(history, trade.code, 4);
    if (!(double{S / 3.0f} < 1.169)) return false;
    const std::uint32_t t = windowStatistics(history, region.length, region.startOffset).trend;
    return t == kTrendUnclear || t == kTrendSideways;
}

bool FilterModeB_BuyB(const HistoryView& history, const TodayTrade& trade) {
    const float C = trade.close, Y = trade.yesClose;
    const float H = getHisdayMaxPrice(history, 10, 3);
    if (!(double{C / H} > 1.01 && double{C / H} < 1.092 && double{C / Y} > 1.045)) return false;
    for (std::int64_t k = 3; k <= 13; ++k) {
        auto view = history.dayView(k);
        if (!view) continue;
        auto record = historicalDayTrade(history, k, trade.code);
        if (record && FilterModeB_BuyA(*view, *record)) return true;
    }
    return false;
}

ModelBAnswer FilterModeB(const HistoryView& history, const TodayTrade& trade) {
    return {FilterModeB_BuyA(history, trade), FilterModeB_BuyB(history, trade)};
}

Dictionary modelBNoticeInfo(const HistoryView& history, const TodayTrade& trade,
                            const ModelBAnswer& answer, const LocalDateTime& now) {
    using namespace keys;
    const std::string msgDate = formatDateTime(now);
    const std::string_view day1Date = history.size() > 1 ? history[1].date : std::string_view();
    return Dictionary{
        {StockCode, trade.code},
        {MsgDate, msgDate},
        {MsgDate_Check, day1Date.empty() ? msgDate : std::string(day1Date)},
        {STOCK_closePrice, trade.close},
        {STOCK_ModeB_BUY_B, answer.buyB},
        {STOCK_ModeB_BUY_A, answer.buyA},
    };
}

}  // namespace orvane
