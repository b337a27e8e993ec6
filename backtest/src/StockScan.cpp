#include "StockScan.h"

#include "EntryOutcome.h"
#include "orvane/analysis/SessionDay.h"

namespace orvane::backtest {

std::vector<Signal> scanStock(const StockDays& stock, std::uint32_t stockIndex,
                              const Options& options, DayRange range, std::size_t calendarDays) {
    std::vector<Signal> signals;
    const std::vector<PriceDay>& days = stock.days;
    const std::size_t n = days.size();
    const ParsedHistory history(stock.source->history);
    const HistoryView whole(history);
    for (std::size_t i = static_cast<std::size_t>(std::max(options.minHistory, 1)); i < n; ++i) {
        if (!days[i].traded || !range.contains(days[i].day)) continue;
        // Day i of the oldest-first days is element n - i of the text.
        const auto session =
            sessionDayOf(whole, static_cast<std::int64_t>(n - i), stock.source->code);
        if (!session) continue;
        const AnalysisResult verdict = sessionVerdict(*session);
        Signal s;
        s.stock = stockIndex;
        s.day = static_cast<std::uint32_t>(days[i].day);
        s.trend = verdict.trend;
        s.score = verdict.score;
        s.modelB = verdict.modeB;
        s.buyA = verdict.buyA ? static_cast<std::int8_t>(*verdict.buyA) : std::int8_t{-1};
        s.buyB = verdict.buyB ? static_cast<std::int8_t>(*verdict.buyB) : std::int8_t{-1};
        const EntryPoint entry = enterAfter(days, i, options.entry, stock.limitMove, calendarDays);
        s.entry = entry.state;
        if (entry.state == Entry::Filled || entry.state == Entry::LimitUp)
            s.entryPrice = static_cast<float>(entry.price);
        measureOutcomes(days, i, entry, options.horizons, calendarDays, s.outcomes);
        signals.push_back(s);
    }
    return signals;
}

}  // namespace orvane::backtest
