#pragma once
// Model B, the buy pattern: a stock consolidated for at least fourteen days,
// near its hundred-day high, after a strong single day (buy point A); or a
// break above the recent high on a big day after buy point A held on one of
// the days 3 to 13 before (buy point B).

#include <functional>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/HistoryLines.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Value.h"

namespace orvane {

bool FilterModeB_BuyA(const HistoryView& history, const TodayTrade& trade);
bool FilterModeB_BuyB(const HistoryView& history, const TodayTrade& trade);

struct ModelBAnswer {
    bool buyA = false;
    bool buyB = false;
    bool found() const { return buyA || buyB; }
};
/// Both buy points on the same history and trade.
ModelBAnswer FilterModeB(const HistoryView& history, const TodayTrade& trade);

/// The payload of the model-B notice: the present time, day 1's date (the
/// present time when that is empty), today's close and both buy points.
Dictionary modelBNoticeInfo(const HistoryView& history, const TodayTrade& trade,
                            const ModelBAnswer& answer, const LocalDateTime& now);

}  // namespace orvane
