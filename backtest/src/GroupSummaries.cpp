#include "GroupSummaries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "EntryOutcome.h"
#include "Median.h"
#include "orvane/analysis/TrendNames.h"
#include "orvane/core/ParallelFor.h"

namespace orvane::backtest {

namespace {

constexpr Grouping kGroupings[] = {Grouping::All, Grouping::Trend, Grouping::ModelB,
                                   Grouping::ScoreBand, Grouping::Month};

// A group's signals of one day, summed.
struct DaySums {
    std::uint32_t signals = 0;
    std::array<std::uint32_t, kMaxHorizons> complete{};
    std::array<double, kMaxHorizons> returns{}, excess{};
};

// What a group gathers before its figures are worked out.
struct Gathered {
    GroupSummary summary;
    std::array<std::vector<float>, kMaxHorizons> returns;
    std::array<double, kMaxHorizons> excess{}, worst{}, net{};
    std::array<std::size_t, kMaxHorizons> positive{}, delayed{};
    std::vector<DaySums> days;  // one a market day
};

std::string labelOf(Grouping grouping, const std::string& key) {
    switch (grouping) {
        case Grouping::All:
            return "every verdict";
        case Grouping::Trend:
            return std::string(englishTrendName(std::stoi(key)));
        case Grouping::ModelB:
            return key == "yes" ? "model B" : "not model B";
        case Grouping::ScoreBand:
            return key == ">=91" ? "score 91 and above" : "score below 91";
        case Grouping::Month:
        case Grouping::Rule:
            return key;
    }
    return key;
}

// Groups sort by grouping, then trend codes by number and other keys as text
// ("no" before "yes", "<91" before ">=91", months by date).
bool before(const GroupSummary& a, const GroupSummary& b) {
    if (a.grouping != b.grouping) return a.grouping < b.grouping;
    if (a.grouping == Grouping::Trend) return std::stoi(a.key) < std::stoi(b.key);
    return a.key < b.key;
}

void add(Gathered& g, const Signal& s, std::size_t horizons, bool tradableOnly) {
    GroupSummary& sum = g.summary;
    ++sum.verdicts;
    if (s.entry == Entry::LimitUp) ++sum.limitUp;
    if (s.entry == Entry::Suspended) ++sum.notFilled;
    if (!counts(s.entry, tradableOnly) && s.entry != Entry::NoLaterDay) return;
    DaySums& day = g.days[s.day];
    ++day.signals;
    for (std::size_t h = 0; h < horizons; ++h) {
        const Outcome& o = s.outcomes[h];
        if (std::isnan(o.ret)) {
            ++sum.horizons[h].incomplete;
            continue;
        }
        g.returns[h].push_back(o.ret);
        g.positive[h] += o.ret > 0;
        g.excess[h] += o.excess;
        g.worst[h] = std::min<double>(g.worst[h], o.drawdown);
        g.net[h] += o.net;
        g.delayed[h] += (s.delayedExits >> h) & 1U;
        ++day.complete[h];
        day.returns[h] += o.ret;
        day.excess[h] += o.excess;
    }
}

// The bootstrap interval of the group's mean excess at horizon index h, over
// the days from its first signal with the horizon complete to its last.
void addInterval(const Gathered& g, std::size_t h, const Options& options, HorizonFigures& f) {
    std::vector<DayTotal> totals;
    std::size_t first = g.days.size(), last = 0;
    for (std::size_t d = 0; d < g.days.size(); ++d)
        if (g.days[d].complete[h]) first = std::min(first, d), last = d;
    for (std::size_t d = first; d <= last && first < g.days.size(); ++d)
        totals.push_back({g.days[d].excess[h], g.days[d].complete[h]});
    const std::string name =
        std::to_string(static_cast<int>(g.summary.grouping)) + ":" + g.summary.key;
    const MeanInterval interval = bootstrapMean(totals, blockDaysFor(f.horizon), options.resamples,
                                                groupSeed(options.seed, name, f.horizon));
    f.excessLow = interval.low;
    f.excessHigh = interval.high;
    f.excessP = interval.pValue;
    f.blockDays = interval.blockDays;
}

GroupSummary finish(Gathered& g, const Options& options) {
    const std::size_t horizons = options.horizons.size();
    for (std::size_t h = 0; h < horizons; ++h) addInterval(g, h, options, g.summary.horizons[h]);
    GroupSummary sum = std::move(g.summary);
    for (std::size_t h = 0; h < horizons; ++h) {
        HorizonFigures& f = sum.horizons[h];
        std::vector<float>& r = g.returns[h];
        f.signals = r.size();
        if (r.empty()) {
            f.mean = f.median = f.positiveShare = f.meanExcess = f.worstDrawdown = f.meanNet =
                kNoFigure;
            continue;
        }
        double total = 0;
        for (float x : r) total += x;
        f.mean = total / static_cast<double>(r.size());
        f.median = medianOf(r);
        f.positiveShare = static_cast<double>(g.positive[h]) / static_cast<double>(r.size());
        f.meanExcess = g.excess[h] / static_cast<double>(r.size());
        f.worstDrawdown = g.worst[h];
        f.meanNet = g.net[h] / static_cast<double>(r.size());
        f.delayedExits = g.delayed[h];
    }
    for (std::size_t d = 0; d < g.days.size(); ++d) {
        const DaySums& sums = g.days[d];
        if (sums.signals == 0) continue;
        GroupDay day{static_cast<std::uint32_t>(d), sums.signals, {}, {}};
        for (std::size_t h = 0; h < kMaxHorizons; ++h) {
            const std::uint32_t n = sums.complete[h];
            day.meanReturn[h] = n ? static_cast<float>(sums.returns[h] / n) : kNoFigure;
            day.meanExcess[h] = n ? static_cast<float>(sums.excess[h] / n) : kNoFigure;
        }
        sum.days.push_back(day);
    }
    return sum;
}

}  // namespace

std::vector<GroupSummary> summarise(const Results& results, int jobs) {
    const std::size_t horizons = results.options.horizons.size();
    std::vector<long> monthOfDay;
    for (const std::string& day : results.days)
        monthOfDay.push_back(std::stol(day.substr(0, 4)) * 100 + std::stol(day.substr(5, 2)));
    // The groupings in two tasks, each reading the signals once, in the order
    // they are kept (a group adds its signals up in that order); a signal's
    // group as a number (the trend code, 0 or 1, the month as yyyymm), so the
    // key text is made once a group.
    constexpr std::size_t kTasks = 2;
    std::array<std::vector<Gathered>, std::size(kGroupings)> gathered;
    parallelFor(kTasks, jobs, [&](std::size_t task) {
        struct Lookup {
            std::unordered_map<long, std::size_t> index;
            // Signals come by stock, then day: the group of the signal before
            // is most often the group again, and is looked up without the map.
            long lastNumber = 0;
            std::size_t lastGroup = SIZE_MAX;
        };
        std::array<Lookup, std::size(kGroupings)> lookups;
        for (const Signal& s : results.signals)
            for (std::size_t k = task; k < std::size(kGroupings); k += kTasks) {
                const Grouping grouping = kGroupings[k];
                Lookup& look = lookups[k];
                const long number = grouping == Grouping::Trend       ? s.trend
                                    : grouping == Grouping::ModelB    ? long{s.modelB}
                                    : grouping == Grouping::ScoreBand ? long{s.score >= 91}
                                    : grouping == Grouping::Month     ? monthOfDay[s.day]
                                                                      : 0;
                if (look.lastGroup == SIZE_MAX || number != look.lastNumber) {
                    auto [at, added] = look.index.try_emplace(number, gathered[k].size());
                    look.lastNumber = number;
                    look.lastGroup = at->second;
                    if (added) {
                        Gathered g;
                        g.summary.grouping = grouping;
                        g.summary.key = groupKey(results, s, grouping);
                        g.summary.label = labelOf(grouping, g.summary.key);
                        for (std::size_t h = 0; h < horizons; ++h)
                            g.summary.horizons.push_back({results.options.horizons[h], 0, 0});
                        g.days.resize(results.days.size());
                        gathered[k].push_back(std::move(g));
                    }
                }
                add(gathered[k][look.lastGroup], s, horizons, results.options.tradableOnly);
            }
    });
    std::vector<Gathered*> groups;
    for (auto& list : gathered)
        for (Gathered& g : list) groups.push_back(&g);
    std::vector<GroupSummary> out(groups.size());
    parallelFor(groups.size(), jobs,
                [&](std::size_t i) { out[i] = finish(*groups[i], results.options); });
    std::sort(out.begin(), out.end(), before);
    return out;
}

GroupSummary summariseSignals(const Results& results, Grouping grouping, std::string key,
                              std::string label, const std::vector<bool>& which) {
    const std::size_t horizons = results.options.horizons.size();
    Gathered g;
    g.summary.grouping = grouping;
    g.summary.key = std::move(key);
    g.summary.label = std::move(label);
    for (std::size_t h = 0; h < horizons; ++h)
        g.summary.horizons.push_back({results.options.horizons[h], 0, 0});
    g.days.resize(results.days.size());
    for (std::size_t i = 0; i < results.signals.size() && i < which.size(); ++i)
        if (which[i]) add(g, results.signals[i], horizons, results.options.tradableOnly);
    return finish(g, results.options);
}

}  // namespace orvane::backtest
