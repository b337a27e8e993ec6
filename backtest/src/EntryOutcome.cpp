#include "EntryOutcome.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::backtest {

double limitUpMove(std::string_view code, std::string_view name) {
    if (code.starts_with("30") || code.starts_with("68")) return 0.20;
    if (name.find("ST") != std::string_view::npos) return 0.05;
    return 0.10;
}

bool atLimitUp(double price, double previousClose, double move) {
    constexpr double kCents = 100, kSlack = 1e-7;  // the slack absorbs binary rounding
    const double limitPrice =
        std::floor(previousClose * (1.0 + move) * kCents + 0.5 + kSlack) / kCents;
    return price >= limitPrice - kSlack || price / previousClose - 1.0 >= move - 0.001 - kSlack;
}

EntryPoint enterAfter(const std::vector<PriceDay>& days, std::size_t signal, EntryPrice rule,
                      double limitMove, std::size_t calendarDays) {
    EntryPoint entry;
    const PriceDay& day = days[signal];
    if (rule == EntryPrice::SignalClose) {
        const double before = signal > 0 ? days[signal - 1].close : 0;
        entry.price = day.close;
        entry.firstRow = signal + 1;
        entry.state =
            before > 0 && atLimitUp(day.close, before, limitMove) ? Entry::LimitUp : Entry::Filled;
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
    entry.firstRow = next;
    entry.state = atLimitUp(entryDay.open, day.close, limitMove) ? Entry::LimitUp : Entry::Filled;
    return entry;
}

void measureOutcomes(const std::vector<PriceDay>& days, std::size_t signal, const EntryPoint& entry,
                     const std::vector<int>& horizons, std::size_t calendarDays,
                     std::array<Outcome, kMaxHorizons>& outcomes) {
    if (entry.state == Entry::Suspended || entry.state == Entry::NoLaterDay) return;
    std::array<std::size_t, kMaxHorizons> order{};
    for (std::size_t h = 0; h < horizons.size(); ++h) order[h] = h;
    std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(horizons.size()),
              [&](std::size_t a, std::size_t b) { return horizons[a] < horizons[b]; });

    const std::int64_t lastDay = days.back().day;
    std::size_t row = entry.firstRow;
    double lowest = std::numeric_limits<double>::infinity(), close = days[signal].close;
    for (std::size_t i = 0; i < horizons.size(); ++i) {
        const std::size_t h = order[i];
        const std::int64_t exitDay = std::int64_t{days[signal].day} + horizons[h];
        if (exitDay >= static_cast<std::int64_t>(calendarDays) || exitDay > lastDay) break;
        for (; row < days.size() && days[row].day <= exitDay; ++row) {
            if (!days[row].traded) continue;
            lowest = std::min(lowest, days[row].low);
            close = days[row].close;
        }
        outcomes[h].ret = static_cast<float>(close / entry.price - 1.0);
        outcomes[h].drawdown = static_cast<float>(std::min(0.0, lowest / entry.price - 1.0));
    }
}

}  // namespace orvane::backtest
