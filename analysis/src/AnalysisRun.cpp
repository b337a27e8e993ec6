#include "orvane/analysis/AnalysisRun.h"

#include "orvane/analysis/Acceleration.h"
#include "orvane/analysis/ModelB.h"
#include "orvane/analysis/StockBoxInfo.h"
#include "orvane/analysis/StockScore.h"
#include "orvane/core/Log.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace {

struct RunWindows {
    StockBox_Info W5, W10, W20, W50, W180, W300;
};

RunWindows buildWindows(const HistoryView& h) {
    // The windows from the newest day share their closes, and the 180 days
    // from the fifth lie among them: one pass.
    static constexpr std::int32_t kFromNewest[] = {5, 10, 50, 300};
    StockBox_Info fromNewest[4];
    const StockBox_Info W180 = windowsFromOneOffset(h, 1, kFromNewest, fromNewest, 180, 5);
    return {fromNewest[0], fromNewest[1], windowStatistics(h, 20, 2),
            fromNewest[2], W180,          fromNewest[3]};
}

// A flat medium-term box breaking upward: 1, or 1001 when the close is still
// near the box; -1 when the box rule does not hold.
std::int32_t flatBoxBreakout(const RunWindows& w, float C, const std::string& code,
                             std::int32_t score) {
    if (double{w.W5.maxPrice / w.W180.maxPrice} > 0.97 &&
        double{w.W10.avgPrice / w.W180.avgPrice} > 1.1 && C / w.W180.maxPrice > 1.0f &&
        w.W180.trend == kTrendRising && w.W300.trend == kTrendRising &&
        double{C / w.W180.minPrice} > 1.4 && double{C / w.W180.minPrice} < 1.6 &&
        double{w.W10.maxPrice / w.W10.minPrice} <= 1.08 &&
        double{w.W50.maxPrice / w.W5.startPrice} <= 1.065) {
        ORVANE_LOG("**------------   中期一字盘向上整趋势，突破上涨态势，  %s Score = %d",
                   code.c_str(), score);
        if (double{C / w.W180.maxPrice} <= 1.1 && double{C / w.W5.maxPrice} >= 0.96) return 1001;
        return 1;
    }
    return -1;
}

bool keyPointBreakthrough(const RunWindows& w, float C, float K) {
    return double{C / K} >= 1.025 && double{K / w.W180.maxPrice} <= 1.055 &&
           double{C / w.W180.maxPrice} >= 1.01 && w.W180.trend == kTrendRising &&
           w.W300.trend == kTrendRising && C / w.W180.minPrice > 1.5f &&
           double{C / w.W180.minPrice} < 1.8 && double{w.W10.maxPrice / w.W10.minPrice} <= 1.08;
}

bool risingNearHigh(const RunWindows& w, float C) {
    return double{C / w.W180.maxPrice} >= 0.98 && double{C / w.W5.avgPrice} >= 1.05 &&
           double{C / w.W180.maxPrice} < 1.15 && double{w.W50.avgPrice / w.W180.maxPrice} >= 1.09 &&
           double{C / w.W180.maxPrice} >= 1.01;
}

}  // namespace

float gainPercent(float close, float base) {
    return ((close - base) * 100.0f) / base;
}

TodayTrade todayTradeFrom(const Dictionary& stock) {
    using namespace keys;
    return {stringFor(stock, STOCK_Code), floatFor(stock, STOCK_OpenPrice),
            floatFor(stock, STOCK_closePrice), floatFor(stock, STOCK_YesClosePrice)};
}

AnalysisResult parseOneStockYahooHistoryFormToday(const HistoryView& history,
                                                  const TodayTrade& today, const LocalDateTime& now,
                                                  const ModelBNoticeSink& notice) {
    AnalysisResult result;
    const float C = today.close, O = today.open;

    result.keyPrice = calStockScore(history, today, result.score);
    const float K = result.keyPrice;
    const RunWindows w = buildWindows(history);
    result.t10 = w.W10.trend;
    result.t180 = w.W180.trend;
    result.t300 = w.W300.trend;

    std::int32_t candidate = flatBoxBreakout(w, C, today.code, result.score);
    if (keyPointBreakthrough(w, C, K)) {
        result.accel = isAcceleration(history, today, now);
        if (*result.accel) candidate = 1000;
        if (double{C / K} <= 1.1 && double{C / w.W5.maxPrice} >= 0.96 && double{O / K} >= 0.97)
            candidate = 1001;
    }

    if (risingNearHigh(w, C))
        result.trend = 1;
    else if (candidate != -1)
        result.trend = candidate;
    else
        result.trend = w.W10.trend == kTrendFalling ? -1 : static_cast<std::int32_t>(w.W300.trend);
    result.end5 = w.W5.endPrice;
    result.end10 = w.W10.endPrice;

    const float r20 = gainPercent(C, w.W20.maxPrice);
    const float r5 = gainPercent(C, w.W5.maxPrice);
    const float r10 = gainPercent(C, w.W10.maxPrice);
    ORVANE_LOG("----rgnChanged = %.2f ,%.2f,%.2f", double{r20}, double{r5}, double{r10});

    if (result.trend == 1 && r20 > -2.5f && r20 < 15.0f && r5 > -2.5f && r10 > -2.5f) {
        const ModelBAnswer answer = FilterModeB(history, today);
        result.buyA = answer.buyA;
        result.buyB = answer.buyB;
        result.modeB = answer.found();
        if (answer.found() && notice) notice(modelBNoticeInfo(history, today, answer, now));
    }
    return result;
}

}  // namespace orvane
