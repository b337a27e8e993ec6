#pragma once
// A day of a history seen as during its own trading session: the history
// lags the quote by one day (the day itself is not in it yet), today's trade
// is the day's open and close with the close of the day before as the
// previous close, and "now" is the day at 15:00. This is how the publisher
// gives each past day its verdict and how the back-test replays them.

#include <cstdint>
#include <optional>
#include <string>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/HistoryLines.h"
#include "orvane/core/LocalTime.h"

namespace orvane {

/// A day line as the publisher writes them: seven fields and a real date.
bool isDayLine(const DayLine& line);

struct SessionDay {
    HistoryView lagging;  // the history without the day
    TodayTrade today;
    LocalDateTime now;
};

/// Day k of the whole history (element k, newest first) during its session;
/// nothing when day k or the day before it is not a day line.
std::optional<SessionDay> sessionDayOf(const HistoryView& whole, std::int64_t k,
                                       const std::string& code);

/// The engine's verdict on a session day (the pure run: no notice, no
/// shared state).
AnalysisResult sessionVerdict(const SessionDay& day);

}  // namespace orvane
