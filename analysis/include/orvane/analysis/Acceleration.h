#pragma once
// Whether a rising stock is speeding up: the latest rise against the rises of
// the four three-day blocks before it, judged by how far the history lags.

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/HistoryLines.h"
#include "orvane/core/LocalTime.h"

namespace orvane {

bool isAcceleration(const HistoryView& history, const TodayTrade& today, const LocalDateTime& now);

}  // namespace orvane
