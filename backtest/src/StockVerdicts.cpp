#include "StockVerdicts.h"

#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/SessionDay.h"

namespace orvane::backtest {

StockVerdicts verdictsOf(const StockDays& stock, int minHistory, DayRange range) {
    StockVerdicts out;
    out.code = stock.source->code;
    const std::vector<PriceDay>& days = stock.days;
    const std::size_t n = days.size();
    ParsedHistory history(stock.source->history);
    history.measureRegionsOnce();  // the same regions are met day after day
    const HistoryView whole(history);
    for (std::size_t i = static_cast<std::size_t>(std::max(minHistory, 1)); i < n; ++i) {
        if (!days[i].traded || !range.contains(days[i].day)) continue;
        // Day i of the oldest-first days is element n - i of the text; the
        // days were read from that text, so each is a day line.
        const auto session =
            sessionDayOf(whole, static_cast<std::int64_t>(n - i), stock.source->code);
        const AnalysisResult verdict = sessionVerdict(session.value());
        const float close = session->today.close;
        out.days.push_back(
            {days[i].date, verdict.trend, verdict.score, verdict.modeB,
             verdict.buyA ? static_cast<std::int8_t>(*verdict.buyA) : std::int8_t{-1},
             verdict.buyB ? static_cast<std::int8_t>(*verdict.buyB) : std::int8_t{-1},
             gainPercent(close, verdict.end5), gainPercent(close, verdict.end10),
             gainPercent(close, session->today.yesClose), close});
    }
    return out;
}

}  // namespace orvane::backtest
