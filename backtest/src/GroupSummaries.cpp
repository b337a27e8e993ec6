#include "GroupSummaries.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "EntryOutcome.h"
#include "orvane/core/ParallelFor.h"

namespace orvane::backtest {

namespace {

constexpr Grouping kGroupings[] = {Grouping::All, Grouping::Trend, Grouping::ModelB,
                                   Grouping::ScoreBand, Grouping::Month};

// What a group gathers before its figures are worked out.
struct Gathered {
    GroupSummary summary;
    std::array<std::vector<float>, kMaxHorizons> returns;
    std::array<double, kMaxHorizons> excess{}, worst{};
    std::array<std::size_t, kMaxHorizons> positive{};
    std::vector<GroupDay> days;
    std::vector<std::array<std::uint32_t, kMaxHorizons>> dayCounts;
};

std::string labelOf(Grouping grouping, const std::string& key) {
    switch (grouping) {
        case Grouping::All:
            return "every verdict";
        case Grouping::Trend:
            return trendLabel(std::stoi(key));
        case Grouping::ModelB:
            return key == "yes" ? "model B" : "not model B";
        case Grouping::ScoreBand:
            return key == ">=91" ? "score 91 and above" : "score below 91";
        case Grouping::Month:
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

double median(std::vector<float>& v) {
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2) return upper;
    const double lower = *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

void add(Gathered& g, const Signal& s, std::size_t horizons, bool tradableOnly) {
    GroupSummary& sum = g.summary;
    ++sum.verdicts;
    if (s.entry == Entry::LimitUp) ++sum.limitUp;
    if (s.entry == Entry::Suspended) ++sum.notFilled;
    if (!counts(s.entry, tradableOnly) && s.entry != Entry::NoLaterDay) return;
    if (g.days.empty() || g.days.back().day != s.day) {
        g.days.push_back({s.day, 0, {}, {}});
        g.dayCounts.push_back({});
    }
    GroupDay& day = g.days.back();
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
        ++g.dayCounts.back()[h];
        day.meanReturn[h] += o.ret;
        day.meanExcess[h] += o.excess;
    }
}

GroupSummary finish(Gathered& g, std::size_t horizons) {
    GroupSummary sum = std::move(g.summary);
    for (std::size_t h = 0; h < horizons; ++h) {
        HorizonFigures& f = sum.horizons[h];
        std::vector<float>& r = g.returns[h];
        f.signals = r.size();
        if (r.empty()) {
            f.mean = f.median = f.positiveShare = f.meanExcess = f.worstDrawdown = kNoFigure;
            continue;
        }
        double total = 0;
        for (float x : r) total += x;
        f.mean = total / static_cast<double>(r.size());
        f.median = median(r);
        f.positiveShare = static_cast<double>(g.positive[h]) / static_cast<double>(r.size());
        f.meanExcess = g.excess[h] / static_cast<double>(r.size());
        f.worstDrawdown = g.worst[h];
    }
    for (std::size_t d = 0; d < g.days.size(); ++d)
        for (std::size_t h = 0; h < kMaxHorizons; ++h) {
            const std::uint32_t n = h < horizons ? g.dayCounts[d][h] : 0;
            GroupDay& day = g.days[d];
            day.meanReturn[h] = n ? day.meanReturn[h] / static_cast<float>(n) : kNoFigure;
            day.meanExcess[h] = n ? day.meanExcess[h] / static_cast<float>(n) : kNoFigure;
        }
    sum.days = std::move(g.days);
    return sum;
}

}  // namespace

std::vector<GroupSummary> summarise(const Results& results, int jobs) {
    const std::size_t horizons = results.options.horizons.size();
    // The signals in day order (by stock within a day), so a group's days
    // come in order: a counting sort over the days.
    std::vector<std::size_t> start(results.days.size() + 1, 0);
    for (const Signal& s : results.signals) ++start[s.day + 1];
    for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
    std::vector<const Signal*> byDay(results.signals.size());
    for (const Signal& s : results.signals) byDay[start[s.day]++] = &s;

    std::vector<long> monthOfDay;
    for (const std::string& day : results.days)
        monthOfDay.push_back(std::stol(day.substr(0, 4)) * 100 + std::stol(day.substr(5, 2)));
    // One grouping a task; a signal's group as a number (the trend code, 0
    // or 1, the month as yyyymm), so the key text is made once a group.
    std::array<std::vector<Gathered>, std::size(kGroupings)> gathered;
    parallelFor(std::size(kGroupings), jobs, [&](std::size_t k) {
        const Grouping grouping = kGroupings[k];
        std::unordered_map<long, std::size_t> index;
        for (const Signal* s : byDay) {
            const long number = grouping == Grouping::Trend       ? s->trend
                                : grouping == Grouping::ModelB    ? long{s->modelB}
                                : grouping == Grouping::ScoreBand ? long{s->score >= 91}
                                : grouping == Grouping::Month     ? monthOfDay[s->day]
                                                                  : 0;
            auto [at, added] = index.try_emplace(number, gathered[k].size());
            if (added) {
                Gathered g;
                g.summary.grouping = grouping;
                g.summary.key = groupKey(results, *s, grouping);
                g.summary.label = labelOf(grouping, g.summary.key);
                for (std::size_t h = 0; h < horizons; ++h)
                    g.summary.horizons.push_back({results.options.horizons[h], 0, 0});
                gathered[k].push_back(std::move(g));
            }
            add(gathered[k][at->second], *s, horizons, results.options.tradableOnly);
        }
    });
    std::vector<Gathered*> groups;
    for (auto& list : gathered)
        for (Gathered& g : list) groups.push_back(&g);
    std::vector<GroupSummary> out(groups.size());
    parallelFor(groups.size(), jobs, [&](std::size_t i) { out[i] = finish(*groups[i], horizons); });
    std::sort(out.begin(), out.end(), before);
    return out;
}

}  // namespace orvane::backtest
