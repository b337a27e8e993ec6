#include "StockScan.h"

#include <algorithm>

#include "EntryOutcome.h"
#include "orvane/analysis/SessionDay.h"
#include "orvane/market/ExRightsGaps.h"

namespace orvane::backtest {

namespace {

bool isSignalDay(const std::vector<PriceDay>& days, std::size_t i, DayRange range) {
    return days[i].traded && range.contains(days[i].day);
}

std::size_t firstDayWithHistory(const Options& options) {
    return static_cast<std::size_t>(std::max(options.minHistory, 1));
}

}  // namespace

std::size_t signalDayCount(const StockDays& stock, const Options& options, DayRange range) {
    std::size_t count = 0;
    for (std::size_t i = firstDayWithHistory(options); i < stock.days.size(); ++i)
        count += isSignalDay(stock.days, i, range);
    return count;
}

void scanStock(const StockDays& stock, std::uint32_t stockIndex, const Options& options,
               DayRange range, std::size_t calendarDays, Signal* out) {
    const std::vector<PriceDay>& days = stock.days;
    const std::size_t n = days.size();
    const ParsedHistory history(stock.source->history);
    const HistoryView whole(history);
    // gapsUpTo[k]: the days before day k that open beyond the limit down.
    std::vector<std::uint32_t> gapsUpTo(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        const double before = closeBefore(stock, k);
        gapsUpTo[k + 1] =
            gapsUpTo[k] + (days[k].traded && stock.limits[k] > 0 &&
                           opensBeyondLimitDown(days[k].open, before, stock.limits[k]));
    }
    for (std::size_t i = firstDayWithHistory(options); i < n; ++i) {
        if (!isSignalDay(days, i, range)) continue;
        Signal& s = *out++;
        s.stock = stockIndex;
        s.day = static_cast<std::uint32_t>(days[i].day);
        // Day i of the oldest-first days is element n - i of the text; the
        // days were read from that text, so each is a day line.
        const auto session =
            sessionDayOf(whole, static_cast<std::int64_t>(n - i), stock.source->code);
        const AnalysisResult verdict = sessionVerdict(session.value());
        s.trend = verdict.trend;
        s.score = verdict.score;
        s.modelB = verdict.modeB;
        s.buyA = verdict.buyA ? static_cast<std::int8_t>(*verdict.buyA) : std::int8_t{-1};
        s.buyB = verdict.buyB ? static_cast<std::int8_t>(*verdict.buyB) : std::int8_t{-1};
        const EntryPoint entry = enterAfter(stock, i, options.entry, calendarDays);
        s.entry = entry.state;
        if (entry.state == Entry::Filled || entry.state == Entry::LimitUp)
            s.entryPrice = static_cast<float>(entry.price);
        const Exits exits = measureOutcomes(stock, i, entry, options, calendarDays, s.outcomes);
        s.delayedExits = exits.delayed;
        // The gaps after the entry (one at the entry day's open came before it).
        s.spansExRightsGap =
            exits.lastRow > 0 && gapsUpTo[exits.lastRow + 1] > gapsUpTo[entry.row + 1];
    }
}

}  // namespace orvane::backtest
