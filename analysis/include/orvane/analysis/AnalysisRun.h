#pragma once
// The analysis run: six windows, the stock score and key price, combined into
// the stock's final trend code (with 1000, accelerating rise, and 1001,
// breakthrough of the key point), the bases of the 5- and 10-day gains and
// the model-B flag.

#include <functional>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/HistoryLines.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Value.h"

namespace orvane {

/// Called with the model-B notice's payload when the run finds model B.
using ModelBNoticeSink = std::function<void(Dictionary userInfo)>;

AnalysisResult parseOneStockYahooHistoryFormToday(const HistoryView& history,
                                                  const TodayTrade& today, const LocalDateTime& now,
                                                  const ModelBNoticeSink& notice = {});

/// Today's trade read from a stock dictionary (prices as text or numbers).
TodayTrade todayTradeFrom(const Dictionary& stock);

/// (close - base) x 100 / base, in single precision.
float gainPercent(float close, float base);

}  // namespace orvane
