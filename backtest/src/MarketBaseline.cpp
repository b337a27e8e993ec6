#include "MarketBaseline.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "EntryOutcome.h"
#include "orvane/core/ParallelFor.h"

namespace orvane::backtest {

namespace {

struct DaySums {
    std::uint32_t traded = 0, moved = 0;
    double move = 0;
    std::array<double, kMaxHorizons> returns{};
    std::array<std::uint32_t, kMaxHorizons> entered{};
};

// The stock's part of the sums of the days of `block` (within the range
// whose first day is sums[0]). Its signals (by day) have the entries and
// returns of their days worked out already.
void addStock(const StockDays& stock, std::span<const Signal> signals, const Options& options,
              DayRange block, std::int32_t firstDay, std::size_t calendarDays,
              std::vector<DaySums>& sums) {
    auto signal = std::lower_bound(
        signals.begin(), signals.end(), block.first,
        [](const Signal& s, std::int32_t day) { return static_cast<std::int32_t>(s.day) < day; });
    const std::vector<PriceDay>& days = stock.days;
    std::size_t i = static_cast<std::size_t>(
        std::lower_bound(days.begin(), days.end(), block.first,
                         [](const PriceDay& d, std::int32_t day) { return d.day < day; }) -
        days.begin());
    double lastClose = 0;
    for (std::size_t j = i; j-- > 0;)
        if (days[j].traded) {
            lastClose = days[j].close;
            break;
        }
    for (; i < days.size() && days[i].day <= block.last; ++i) {
        if (!days[i].traded) continue;
        const double before = lastClose;
        lastClose = days[i].close;
        DaySums& day = sums[static_cast<std::size_t>(days[i].day - firstDay)];
        ++day.traded;
        if (before > 0) {
            day.move += days[i].close / before - 1.0;
            ++day.moved;
        }
        while (signal != signals.end() && static_cast<std::int32_t>(signal->day) < days[i].day)
            ++signal;
        std::array<Outcome, kMaxHorizons> outcomes{};
        if (signal != signals.end() && static_cast<std::int32_t>(signal->day) == days[i].day) {
            if (!counts(signal->entry, options.tradableOnly)) continue;
            outcomes = signal->outcomes;
        } else {
            const EntryPoint entry = enterAfter(stock, i, options.entry, calendarDays);
            if (!counts(entry.state, options.tradableOnly)) continue;
            measureOutcomes(stock, i, entry, options, calendarDays, outcomes);
        }
        for (std::size_t h = 0; h < options.horizons.size(); ++h) {
            if (std::isnan(outcomes[h].ret)) continue;
            day.returns[h] += outcomes[h].ret;
            ++day.entered[h];
        }
    }
}

}  // namespace

std::vector<BaselineDay> marketBaseline(const std::vector<StockDays>& stocks,
                                        const std::vector<Signal>& signals,
                                        const std::vector<std::size_t>& firstSignal,
                                        const Options& options, DayRange range,
                                        std::size_t calendarDays) {
    std::vector<DaySums> sums(static_cast<std::size_t>(range.last - range.first + 1));
    // Blocks of days in parallel, a few a thread, each walking every stock
    // through its days once; within a day the stocks add up in order.
    const std::size_t blocks = std::min<std::size_t>(sums.size(), 8);
    const auto blockDays = static_cast<std::int32_t>((sums.size() + blocks - 1) / blocks);
    parallelFor(blocks, options.jobs, [&](std::size_t b) {
        const std::int32_t first = range.first + static_cast<std::int32_t>(b) * blockDays;
        const DayRange block{first, std::min(range.last, first + blockDays - 1)};
        for (std::size_t k = 0; k < stocks.size(); ++k)
            addStock(
                stocks[k],
                std::span(signals).subspan(firstSignal[k], firstSignal[k + 1] - firstSignal[k]),
                options, block, range.first, calendarDays, sums);
    });

    std::vector<BaselineDay> baseline(sums.size());
    double level = 1;
    for (std::size_t i = 0; i < sums.size(); ++i) {
        BaselineDay& b = baseline[i];
        const DaySums& s = sums[i];
        b.day = static_cast<std::uint32_t>(range.first + static_cast<std::int32_t>(i));
        b.traded = s.traded;
        b.dailyReturn = i > 0 && s.moved > 0 ? s.move / s.moved : 0;
        b.level = level *= 1 + b.dailyReturn;
        for (std::size_t h = 0; h < kMaxHorizons; ++h)
            b.forward[h] = s.entered[h] > 0 ? s.returns[h] / s.entered[h] : kNoFigure;
    }
    return baseline;
}

void addExcess(std::vector<Signal>& signals, const std::vector<BaselineDay>& baseline,
               DayRange range, std::size_t horizons) {
    for (Signal& s : signals) {
        const BaselineDay& b = baseline[s.day - static_cast<std::uint32_t>(range.first)];
        for (std::size_t h = 0; h < horizons; ++h)
            s.outcomes[h].excess = static_cast<float>(s.outcomes[h].ret - b.forward[h]);
    }
}

}  // namespace orvane::backtest
