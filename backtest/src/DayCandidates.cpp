// The signals a portfolio buys: each day's signals of a group, best first.

#include <algorithm>
#include <charconv>

#include "orvane/backtest/Portfolio.h"
#include "orvane/core/ParallelFor.h"

namespace orvane::backtest {

namespace {

struct Ranked {
    std::int32_t score;
    std::uint32_t signal;
};

// The signals best score first, equal scores in the order given: counted out
// by score when the scores span a short range (as the engine's do), else
// sorted.
std::vector<std::uint32_t> bestFirst(const std::vector<Ranked>& day) {
    constexpr std::int64_t kCountedSpan = 4096;
    std::vector<std::uint32_t> out(day.size());
    if (day.empty()) return out;
    const auto [low, high] = std::minmax_element(
        day.begin(), day.end(), [](const Ranked& a, const Ranked& b) { return a.score < b.score; });
    const std::int64_t span = std::int64_t{high->score} - low->score + 1;
    if (span > kCountedSpan) {
        std::vector<Ranked> sorted = day;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const Ranked& a, const Ranked& b) { return a.score > b.score; });
        for (std::size_t i = 0; i < sorted.size(); ++i) out[i] = sorted[i].signal;
        return out;
    }
    // starts[k]: where the signals of the k-th highest score begin.
    const std::int32_t top = high->score;
    std::vector<std::uint32_t> starts(static_cast<std::size_t>(span) + 1, 0);
    for (const Ranked& r : day) ++starts[static_cast<std::size_t>(top - r.score) + 1];
    for (std::size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
    for (const Ranked& r : day) out[starts[static_cast<std::size_t>(top - r.score)]++] = r.signal;
    return out;
}

}  // namespace

std::vector<std::vector<std::uint32_t>> candidatesByDay(const Results& results,
                                                        const SignalFilter& inGroup) {
    std::vector<std::vector<std::uint32_t>> days(results.baseline.size());
    if (days.empty()) return days;
    const std::uint32_t first = results.baseline.front().day;
    // Each day's signals as (score, index): signals are kept by stock, then
    // by day, so index order is stock order, which breaks equal scores.
    std::vector<std::vector<Ranked>> ranked(days.size());
    for (std::uint32_t i = 0; i < results.signals.size(); ++i) {
        const Signal& s = results.signals[i];
        if (s.day >= first && s.day - first < days.size() && inGroup(s))
            ranked[s.day - first].push_back({s.score, i});
    }
    parallelFor(days.size(), results.options.jobs,
                [&](std::size_t d) { days[d] = bestFirst(ranked[d]); });
    return days;
}

std::optional<SignalFilter> groupFilter(const Results& results, std::string_view text) {
    if (text == "all") return SignalFilter([](const Signal&) { return true; });
    // The run's own rule (--rule): its verdicts are marked one by one.
    if (text == "rule" || text.starts_with("rule:")) {
        if (results.meetsRule.size() != results.signals.size()) return std::nullopt;
        return SignalFilter([&results](const Signal& s) {
            return results.meetsRule[static_cast<std::size_t>(&s - results.signals.data())];
        });
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view name = text.substr(0, colon);
    const std::string key(text.substr(colon + 1));
    constexpr std::pair<std::string_view, Grouping> kNames[] = {{"trend", Grouping::Trend},
                                                                {"model_b", Grouping::ModelB},
                                                                {"score_band", Grouping::ScoreBand},
                                                                {"month", Grouping::Month}};
    if (name == "trend") {  // the commonest choice, by number rather than text
        int code = 0;
        const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), code);
        if (ec != std::errc() || end != key.data() + key.size()) return std::nullopt;
        return SignalFilter([code](const Signal& s) { return s.trend == code; });
    }
    for (const auto& [known, named] : kNames)
        if (name == known)
            return SignalFilter([&results, grouping = named, key](const Signal& s) {
                return groupKey(results, s, grouping) == key;
            });
    return std::nullopt;
}

}  // namespace orvane::backtest
