#pragma once
// A stock's verdicts for its last days, computed as during each day's
// session: for day d the history lags the quote by one day (day d is not yet
// in it), today's trade is day d's prices with day d + 1's close as the
// previous close, and "now" is day d at 15:00. The history is parsed once for
// all days.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/analysis/AnalysisResult.h"

namespace orvane::server {

/// One day's trade as the history text writes it, and the engine's verdict.
struct DayVerdict {
    std::string date, open, high, low, close, volume;  // fields of the day's line
    std::string yesClose;                              // close of the day before
    std::string checkDate;                             // newest date of the lagging history
    AnalysisResult result;
    float gain5 = 0, gain10 = 0;
};

/// Verdicts for the days 0 (the newest line) to `daysBack` days before it;
/// a day whose line, or the line before it, is not a well-formed day line
/// has none.
std::vector<std::optional<DayVerdict>> computeDayVerdicts(std::string_view code,
                                                          std::string_view historyText,
                                                          int daysBack);

}  // namespace orvane::server
