#include "EntryOutcome.h"

#include <algorithm>
#include <limits>

namespace orvane::backtest {

EntryPoint enterAfter(const StockDays& stock, std::size_t signal, EntryPrice rule,
                      std::size_t calendarDays) {
    const std::vector<PriceDay>& days = stock.days;
    EntryPoint entry;
    const PriceDay& day = days[signal];
    if (rule == EntryPrice::SignalClose) {
        entry.price = day.close;
        entry.row = signal;
        entry.firstRow = signal + 1;
        entry.state = atLimitUpOn(stock, signal, day.close) ? Entry::LimitUp : Entry::Filled;
        return entry;
    }
    const std::size_t next = signal + 1;
    if (static_cast<std::size_t>(day.day) + 1 >= calendarDays || next >= days.size())
        return entry;  // NoLaterDay
    const PriceDay& entryDay = days[next];
    if (entryDay.day != day.day + 1 || !entryDay.traded) {
        entry.state = Entry::Suspended;
        return entry;
    }
    entry.price = entryDay.open;
    entry.row = entry.firstRow = next;
    entry.state = atLimitUpOn(stock, next, entryDay.open) ? Entry::LimitUp : Entry::Filled;
    return entry;
}

std::size_t firstSellableFrom(const StockDays& stock, std::size_t row) {
    while (row < stock.days.size() && !sellableAtClose(stock, row)) ++row;
    return row;
}

Exits measureOutcomes(const StockDays& stock, std::size_t signal, const EntryPoint& entry,
                      const Options& options, std::size_t calendarDays,
                      std::array<Outcome, kMaxHorizons>& outcomes) {
    Exits exits;
    if (entry.state == Entry::Suspended || entry.state == Entry::NoLaterDay) return exits;
    const std::vector<PriceDay>& days = stock.days;
    const std::vector<int>& horizons = options.horizons;
    std::array<std::size_t, kMaxHorizons> order{};
    for (std::size_t h = 0; h < horizons.size(); ++h) order[h] = h;
    std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(horizons.size()),
              [&](std::size_t a, std::size_t b) { return horizons[a] < horizons[b]; });

    // T+1: the earliest sale is at the close of the day after the entry day.
    const std::int64_t earliestExit = std::int64_t{days[entry.row].day} + 1;
    const std::int64_t lastDay = days.back().day;
    std::size_t row = entry.firstRow;
    double lowest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < horizons.size(); ++i) {
        const std::size_t h = order[i];
        const std::int64_t exitDay =
            std::max(std::int64_t{days[signal].day} + horizons[h], earliestExit);
        if (exitDay >= static_cast<std::int64_t>(calendarDays) || exitDay > lastDay) break;
        // The lows up to the exit day, then on to the first day it can be sold.
        for (; days[row].day < exitDay; ++row)
            if (days[row].traded) lowest = std::min(lowest, days[row].low);
        const std::size_t exit = firstSellableFrom(stock, row);
        if (exit == days.size()) break;
        for (; row <= exit; ++row)
            if (days[row].traded) lowest = std::min(lowest, days[row].low);
        row = exit;  // the next horizon may end on the same day
        if (days[exit].day != exitDay) exits.delayed |= static_cast<std::uint8_t>(1U << h);
        exits.lastRow = exit;
        const double ret = days[exit].close / entry.price - 1.0;
        Outcome& o = outcomes[h];
        o.ret = static_cast<float>(ret);
        o.drawdown = static_cast<float>(std::min(0.0, lowest / entry.price - 1.0));
        o.net = static_cast<float>(netReturn(ret, options.tradeSize, days[entry.row].date,
                                             days[exit].date, options.costs));
    }
    return exits;
}

}  // namespace orvane::backtest
