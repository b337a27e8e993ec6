#include "StockScan.h"

#include "EntryOutcome.h"
#include "orvane/backtest/MarketVerdicts.h"

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
    forEachSignalDay(stock, verdicts, range, [&](std::size_t i, const DayVerdict& v) {
        Signal& s = *out++;
        s.stock = stockIndex;
        s.day = static_cast<std::uint32_t>(days[i].day);
        s.trend = v.trend;
        s.score = v.score;
        s.modelB = v.modelB;
        s.buyA = v.buyA;
        s.buyB = v.buyB;
        const EntryPoint entry = enterAfter(days, i, options.entry, stock.limitMove, calendarDays);
        s.entry = entry.state;
        if (entry.state == Entry::Filled || entry.state == Entry::LimitUp)
            s.entryPrice = static_cast<float>(entry.price);
        measureOutcomes(days, i, entry, options.horizons, calendarDays, s.outcomes);
    });
}

}  // namespace orvane::backtest
