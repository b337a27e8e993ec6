// The signals a portfolio buys: each day's signals of a group, best first.

#include <algorithm>
#include <charconv>

#include "orvane/backtest/Portfolio.h"

namespace orvane::backtest {

std::vector<std::vector<std::uint32_t>> candidatesByDay(const Results& results,
                                                        const SignalFilter& inGroup) {
    std::vector<std::vector<std::uint32_t>> days(results.baseline.size());
    if (days.empty()) return days;
    const std::uint32_t first = results.baseline.front().day;
    // Signals are kept by stock, then by day: within a day, in stock order.
    for (std::uint32_t i = 0; i < results.signals.size(); ++i) {
        const Signal& s = results.signals[i];
        if (s.day >= first && s.day - first < days.size() && inGroup(s))
            days[s.day - first].push_back(i);
    }
    for (auto& day : days)
        std::stable_sort(day.begin(), day.end(), [&](std::uint32_t a, std::uint32_t b) {
            return results.signals[a].score > results.signals[b].score;
        });
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
