#include "orvane/publisher/DayVerdicts.h"

#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/SessionDay.h"
#include "orvane/core/TextSplit.h"

namespace orvane::server {

namespace {

// The seven fields of a day line, split once.
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
    const std::string stockCode(code);
    for (int n = 0; n <= daysBack; ++n) {
        const std::int64_t line = n + 1;  // element of the day's line
        if (line + 1 >= history.size()) break;
        auto session = sessionDayOf(whole, line, stockCode);
        if (!session) continue;
        const auto f = fieldsOf(history.line(line));
        const DayLine& before = history.line(line + 1);
        DayVerdict v{std::string(f[0]),
                     std::string(f[1]),
                     std::string(f[2]),
                     std::string(f[3]),
                     std::string(f[4]),
                     std::string(f[5]),
                     std::string(fieldsOf(before)[4]),
                     std::string(before.date),
                     sessionVerdict(*session),
                     0,
                     0};
        v.gain5 = gainPercent(session->today.close, v.result.end5);
        v.gain10 = gainPercent(session->today.close, v.result.end10);
        out[static_cast<std::size_t>(n)] = std::move(v);
    }
    return out;
}

}  // namespace orvane::server
