#pragma once
// Looking at the history as it stood on an earlier day, and how far the
// history lags behind the present.

#include <cstdint>
#include <optional>
#include <string>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/HistoryLines.h"
#include "orvane/core/LocalTime.h"

namespace orvane {

/// A day lag no answer can be built on (no dated line, or a date that does
/// not parse); lies outside every range the engine tests.
inline constexpr std::int32_t kUnknownDayLag = INT32_MIN / 2;

/// Trading days the history lags behind `now`: the calendar day difference
/// from the newest dated line among elements 1 to 9, less the weekend.
std::int32_t daysBefortoday(const HistoryView& history, const LocalDateTime& now);

/// The historical-day record of day k: that day's open, close and date with
/// day k + 1's close as the previous close (1.0 unless that line has exactly
/// 7 fields). Nothing when day k + 1 is not in the text or day k's line has
/// fewer than 5 fields.
std::optional<TodayTrade> historicalDayTrade(const HistoryView& history, std::int64_t k,
                                             const std::string& code,
                                             std::string_view* date = nullptr);

/// The text of the view of day k (header, then days k, k + 1, ..., each line
/// followed by a line break); nothing outside 1 .. E - 1.
std::optional<std::string> historicalDayText(const HistoryView& history, std::int64_t k);

/// The highest close of lines s + 1 .. min(lastLine, E - 1) with exactly 7
/// fields, from 0.1.
float getHisdayMaxPrice(const HistoryView& history, std::int32_t lastLine, std::int32_t offset);

}  // namespace orvane
