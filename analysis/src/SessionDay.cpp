#include "orvane/analysis/SessionDay.h"

#include "orvane/analysis/AnalysisRun.h"

namespace orvane {

bool isDayLine(const DayLine& line) {
    return line.fields == 7 && parseDate(line.date).has_value();
}

std::optional<SessionDay> sessionDayOf(const HistoryView& whole, std::int64_t k,
                                       const std::string& code) {
    if (k < 1 || k + 1 >= whole.size()) return std::nullopt;
    const DayLine& day = whole[k];
    const DayLine& before = whole[k + 1];
    if (!isDayLine(day) || !isDayLine(before)) return std::nullopt;
    auto lagging = whole.dayView(k + 1);
    if (!lagging) return std::nullopt;
    LocalDateTime now = *parseDate(day.date);
    now.hour = 15;
    return SessionDay{*lagging, TodayTrade{code, day.open(), day.close, before.close}, now};
}

AnalysisResult sessionVerdict(const SessionDay& day) {
    return parseOneStockYahooHistoryFormToday(day.lagging, day.today, day.now);
}

}  // namespace orvane
