#include "StockScan.h"

#include "EntryOutcome.h"
#include "orvane/backtest/MarketVerdicts.h"
#include "orvane/market/ExRightsGaps.h"

namespace orvane::backtest {

namespace {

// Calls visit(row, verdict) for each verdict on a day of the range, with the
// stock's row of that day. The verdicts' days are days of the stock, in order.
template <class Visit>
void forEachSignalDay(const StockDays& stock, const StockVerdicts& verdicts, DayRange range,
                      Visit visit) {
    const std::vector<PriceDay>& days = stock.days;
    std::size_t row = 0;
    for (const DayVerdict& v : verdicts.days) {
        while (row < days.size() && days[row].date < v.date) ++row;
        if (row == days.size()) return;
        if (days[row].date == v.date && range.contains(days[row].day)) visit(row, v);
    }
}

}  // namespace

std::size_t signalDayCount(const StockDays& stock, const StockVerdicts& verdicts, DayRange range) {
    std::size_t count = 0;
    forEachSignalDay(stock, verdicts, range, [&](std::size_t, const DayVerdict&) { ++count; });
    return count;
}

void scanStock(const StockDays& stock, const StockVerdicts& verdicts, std::uint32_t stockIndex,
               const Options& options, DayRange range, std::size_t calendarDays, Signal* out) {
    const std::vector<PriceDay>& days = stock.days;
    const std::size_t n = days.size();
    // gapsUpTo[k]: the days before day k that open beyond the limit down.
    std::vector<std::uint32_t> gapsUpTo(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        const double before = closeBefore(stock, k);
        gapsUpTo[k + 1] =
            gapsUpTo[k] + (days[k].traded && stock.limits[k] > 0 &&
                           opensBeyondLimitDown(days[k].open, before, stock.limits[k]));
    }
    forEachSignalDay(stock, verdicts, range, [&](std::size_t i, const DayVerdict& v) {
        Signal& s = *out++;
        s.stock = stockIndex;
        s.day = static_cast<std::uint32_t>(days[i].day);
        s.trend = v.trend;
        s.score = v.score;
        s.modelB = v.modelB;
        s.buyA = v.buyA;
        s.buyB = v.buyB;
        // The day's facts a rule reads, as the day's results file gives them.
        s.gain5 = v.gain5;
        s.gain10 = v.gain10;
        s.change = v.change;
        s.close = v.close;
        const EntryPoint entry = enterAfter(stock, i, options.entry, calendarDays);
        s.entry = entry.state;
        if (entry.state == Entry::Filled || entry.state == Entry::LimitUp)
            s.entryPrice = static_cast<float>(entry.price);
        const Exits exits = measureOutcomes(stock, i, entry, options, calendarDays, s.outcomes);
        s.delayedExits = exits.delayed;
        // The gaps after the entry (one at the entry day's open came before it).
        s.spansExRightsGap =
            exits.lastRow > 0 && gapsUpTo[exits.lastRow + 1] > gapsUpTo[entry.row + 1];
    });
}

}  // namespace orvane::backtest
