#include "orvane/analysis/HistoricalDay.h"

#include <algorithm>

#include "orvane/core/Log.h"
#include "orvane/core/TextSplit.h"

namespace orvane {

std::int32_t daysBefortoday(const HistoryView& history, const LocalDateTime& now) {
    const std::int64_t E = history.size();
    for (std::int64_t i = 1; i <= 9 && i < E; ++i) {
        const DayLine& line = history[i];
        if (line.empty() || utf16Length(line.date) < 9) continue;
        // The first candidate decides, even when its date does not parse.
        auto date = parseDate(line.date);
        if (!date) return kUnknownDayLag;
        const std::int32_t D = calendarDifference(*date, now).days;
        switch (now.weekday) {
            case 0:
            case 1:
                return D - 2;
            case 6:
                return D - 1;
            default:
                return D;
        }
    }
    return kUnknownDayLag;
}

std::optional<TodayTrade> historicalDayTrade(const HistoryView& history, std::int64_t k,
                                             const std::string& code, std::string_view* date) {
    const std::int64_t E = history.size();
    if (k < 1 || E < k + 2) return std::nullopt;
    const DayLine& day = history[k];
    if (day.fields < 5) return std::nullopt;
    const DayLine& before = history[k + 1];
    if (date) *date = day.date;
    return TodayTrade{code, day.open(), day.close, before.fields == 7 ? before.close : 1.0f};
}

std::optional<std::string> historicalDayText(const HistoryView& history, std::int64_t k) {
    auto view = history.dayView(k);
    if (!view) return std::nullopt;
    std::string out;
    // The view's own elements, without the empty one its final break adds.
    for (std::int64_t i = 0; i + 1 < view->size(); ++i) out.append((*view)[i].text).push_back('\n');
    return out;
}

float getHisdayMaxPrice(const HistoryView& history, std::int32_t lastLine, std::int32_t offset) {
    const std::int64_t E = history.size();
    const std::int64_t last = std::min<std::int64_t>(lastLine, E - 1);
    if (E - 1 <= 9) ORVANE_LOG("this is new stock");
    float high = 0.1f;
    for (std::int64_t i = std::max<std::int64_t>(std::int64_t{offset} + 1, 0); i <= last; ++i) {
        const DayLine& line = history[i];
        if (line.fields == 7 && line.close > high) high = line.close;
    }
    return high;
}

}  // namespace orvane
