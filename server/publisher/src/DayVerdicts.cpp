#include "orvane/publisher/DayVerdicts.h"

#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/HistoryLines.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/TextSplit.h"

namespace orvane::server {

namespace {

// Day lines as the publisher writes them: seven fields, a real date.
bool isDayLine(const DayLine& line) {
    return line.fields == 7 && parseDate(line.date).has_value();
}

// The seven fields of a day line (isDayLine holds), split once.
std::vector<std::string_view> fieldsOf(const DayLine& line) {
    return splitOn(line.text, ',');
}

}  // namespace

std::vector<std::optional<DayVerdict>> computeDayVerdicts(std::string_view code,
                                                          std::string_view historyText,
                                                          int daysBack) {
    std::vector<std::optional<DayVerdict>> out(static_cast<std::size_t>(daysBack) + 1);
    ParsedHistory history(historyText);
    const HistoryView whole(history);
    for (int n = 0; n <= daysBack; ++n) {
        const std::int64_t line = n + 1;  // element of the day's line
        if (line + 1 >= history.size()) break;
        const DayLine& day = history.line(line);
        const DayLine& before = history.line(line + 1);
        if (!isDayLine(day) || !isDayLine(before)) continue;
        auto lagging = whole.dayView(line + 1);
        if (!lagging) continue;

        const auto f = fieldsOf(day);
        DayVerdict v{std::string(f[0]),
                     std::string(f[1]),
                     std::string(f[2]),
                     std::string(f[3]),
                     std::string(f[4]),
                     std::string(f[5]),
                     std::string(fieldsOf(before)[4]),
                     std::string(before.date),
                     {},
                     0,
                     0};
        LocalDateTime now = *parseDate(day.date);
        now.hour = 15;
        const TodayTrade today{std::string(code), day.open, day.close, before.close};
        v.result = parseOneStockYahooHistoryFormToday(*lagging, today, now);
        v.gain5 = gainPercent(today.close, v.result.end5);
        v.gain10 = gainPercent(today.close, v.result.end10);
        out[static_cast<std::size_t>(n)] = std::move(v);
    }
    return out;
}

}  // namespace orvane::server
