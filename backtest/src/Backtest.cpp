#include "orvane/backtest/Backtest.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "EntryOutcome.h"
#include "GroupSummaries.h"
#include "MarketBaseline.h"
#include "RuleGroup.h"
#include "StockScan.h"
#include "StockVerdicts.h"
#include "orvane/backtest/MarketVerdicts.h"
#include "orvane/core/ParallelFor.h"

namespace orvane::backtest {

namespace {

// The stocks with readable prices, placed on the market's calendar; the
// others are named in the notes, and kept in `unread` with why.
struct PreparedMarket {
    std::vector<StockDays> stocks;
    std::vector<std::int32_t> dates;  // the calendar
    std::vector<std::string> notes;
    std::vector<PriceRead> unread;  // by stock of the market; the prepared ones empty
};

PreparedMarket prepare(const Market& market, std::vector<PriceRead> reads, const Options& options) {
    PreparedMarket out;
    out.notes = market.problems;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        const MarketStock& s = market.stocks[i];
        if (!reads[i].error.empty() || reads[i].days.empty()) {
            out.notes.push_back(s.code + ": history " +
                                (reads[i].error.empty() ? "has no days" : reads[i].error) +
                                "; skipped (publish the tree again)");
            continue;
        }
        out.stocks.push_back({&s, s.code, std::move(reads[i].days), {}});
    }
    out.unread = std::move(reads);
    std::vector<std::vector<PriceDay>*> all;
    for (StockDays& s : out.stocks) all.push_back(&s.days);
    const TradingCalendar calendar(all);
    for (std::size_t d = 0; d < calendar.size(); ++d) out.dates.push_back(calendar.date(d));
    std::vector<std::string> dates;
    for (std::int32_t d : out.dates) dates.push_back(dateText(d));
    parallelFor(out.stocks.size(), options.jobs, [&](std::size_t i) {
        StockDays& s = out.stocks[i];
        calendar.place(s.days);
        s.limits = dailyLimits(s.code, s.source->name, s.days, dates);
    });
    return out;
}

// Missing market days between a stock's first and last line, and stocks too
// short for a verdict: said once each, with the rule that applies.
void noteGapsAndShortStocks(const PreparedMarket& m, int minHistory,
                            std::vector<std::string>& notes) {
    std::size_t withGaps = 0, shortStocks = 0, longest = 0;
    std::string where;
    for (const StockDays& s : m.stocks) {
        if (s.days.size() <= static_cast<std::size_t>(minHistory)) ++shortStocks;
        bool gap = false;
        for (std::size_t i = 1; i < s.days.size(); ++i) {
            const std::size_t missing =
                static_cast<std::size_t>(s.days[i].day - s.days[i - 1].day - 1);
            if (missing == 0) continue;
            gap = true;
            if (missing > longest) {
                longest = missing;
                where = s.source->code + " from " + dateText(m.dates[s.days[i - 1].day + 1]) +
                        " to " + dateText(m.dates[s.days[i].day - 1]);
            }
        }
        withGaps += gap;
    }
    if (withGaps)
        notes.push_back(std::to_string(withGaps) +
                        " stocks miss market days between their first and last line (the "
                        "longest gap: " +
                        std::to_string(longest) + " days, " + where +
                        "); a missing day counts as a day without a trade: no verdict, no "
                        "entry, the price holds");
    if (shortStocks)
        notes.push_back(std::to_string(shortStocks) + " stocks have at most " +
                        std::to_string(minHistory) +
                        " days: they give no verdict but count in the market baseline");
}

// Signals whose horizon spans a day that looks like an unadjusted ex-rights
// day: their returns take the split for a loss.
void noteExRightsGaps(const std::vector<Signal>& signals, std::vector<std::string>& notes) {
    const auto spanning = std::count_if(signals.begin(), signals.end(),
                                        [](const Signal& s) { return s.spansExRightsGap; });
    if (spanning)
        notes.push_back(std::to_string(spanning) +
                        " signals hold a stock over a day that opens below its limit down, most "
                        "likely an ex-rights day of unadjusted prices: their returns count the "
                        "split as a loss; adjust the prices (--adjust forward, or publish the tree "
                        "with it)");
}

// The signal days of the options within the data, from the first day with
// enough history, or the reason there are none.
std::optional<DayRange> signalDays(const PreparedMarket& m, const Options& options,
                                   std::string& why) {
    const std::int32_t first = m.dates.front(), last = m.dates.back();
    const std::int32_t from = options.from.empty() ? first : dateKey(options.from);
    const std::int32_t to = options.to.empty() ? last : dateKey(options.to);
    DayRange range{static_cast<std::int32_t>(
                       std::lower_bound(m.dates.begin(), m.dates.end(), from) - m.dates.begin()),
                   static_cast<std::int32_t>(std::upper_bound(m.dates.begin(), m.dates.end(), to) -
                                             m.dates.begin()) -
                       1};
    const std::string data = "the data runs from " + dateText(first) + " to " + dateText(last);
    if (range.first > range.last) {
        why = "no trading day of the data lies between " + dateText(from) + " and " + dateText(to) +
              ": " + data + "; choose --from and --to inside it";
        return std::nullopt;
    }
    // The first day any stock has enough history before.
    std::int32_t earliest = static_cast<std::int32_t>(m.dates.size());
    for (const StockDays& s : m.stocks)
        if (s.days.size() > static_cast<std::size_t>(options.minHistory))
            earliest = std::min(earliest, s.days[static_cast<std::size_t>(options.minHistory)].day);
    if (earliest > range.last) {
        why = "no stock has " + std::to_string(options.minHistory) + " days of history before " +
              dateText(m.dates[static_cast<std::size_t>(range.last)]) + ": " +
              (earliest < static_cast<std::int32_t>(m.dates.size())
                   ? "the first day with enough history is " +
                         dateText(m.dates[static_cast<std::size_t>(earliest)]) +
                         "; end the range later"
                   : data + ", too short for a verdict");
        return std::nullopt;
    }
    range.first = std::max(range.first, earliest);
    return range;
}

}  // namespace

std::optional<std::string> checkOptions(const Options& o) {
    if (o.horizons.empty()) return "give at least one horizon";
    if (o.horizons.size() > kMaxHorizons)
        return "at most " + std::to_string(kMaxHorizons) + " horizons";
    std::set<int> seen;
    for (int h : o.horizons) {
        if (h < 1 || h > kLongestHorizon)
            return "a horizon of " + std::to_string(h) + " trading days: horizons run from 1 to " +
                   std::to_string(kLongestHorizon);
        if (!seen.insert(h).second) return "the horizon " + std::to_string(h) + " is given twice";
    }
    for (const std::string* date : {&o.from, &o.to})
        if (!date->empty() && dateKey(*date) == 0)
            return "\"" + *date + "\" is no date: write YYYY-MM-DD";
    if (!o.from.empty() && !o.to.empty() && dateKey(o.from) > dateKey(o.to))
        return "the range starts (" + o.from + ") after it ends (" + o.to + ")";
    if (o.minHistory < 1) return "a verdict needs at least one day of history";
    if (o.jobs < 0) return "--jobs counts threads: 0 (one per processor) or more";
    if (!(o.costs.commission >= 0 && o.costs.commission < 0.01))
        return "a commission is a share of the amount from 0 to under 1%";
    if (!(o.costs.minCommission >= 0 && o.costs.minCommission <= 1000))
        return "the minimum commission runs from 0 to 1000 yuan";
    if (!(o.tradeSize >= 100 && o.tradeSize <= 1e10))
        return "a trade size runs from 100 yuan to 10 billion";
    return std::nullopt;
}

namespace {

Run failed(Failure f, std::string message) {
    Run run;
    run.failure = f;
    run.message = std::move(message);
    return run;
}

// The run over the market's prices (`reads`, by stock of the market), with
// the verdicts a store kept (by stock of the market too) or none.
Run runOver(const Market& market, std::vector<PriceRead> reads, std::vector<StockVerdicts>* kept,
            const Options& options, const ProgressSink& progress, std::stop_token stop) {
    Run run;
    PreparedMarket m = prepare(market, std::move(reads), options);
    if (m.stocks.empty())
        return failed(Failure::NoStocks, "no stock of the market has readable prices");
    std::string why;
    const std::optional<DayRange> range = signalDays(m, options, why);
    if (!range) return failed(Failure::RangeOutsideData, why);

    Results& r = run.results;
    r.options = options;
    r.options.from = dateText(m.dates[static_cast<std::size_t>(range->first)]);
    r.options.to = dateText(m.dates[static_cast<std::size_t>(range->last)]);
    for (std::int32_t d : m.dates) r.days.push_back(dateText(d));
    for (const StockDays& s : m.stocks) r.stocks.push_back({s.source->code, s.source->name});
    r.notes = std::move(m.notes);
    noteGapsAndShortStocks(m, options.minHistory, r.notes);

    std::vector<StockVerdicts> verdicts;
    StoreWrite storing;
    if (kept) {
        for (const StockDays& s : m.stocks)
            verdicts.push_back(
                std::move((*kept)[static_cast<std::size_t>(s.source - market.stocks.data())]));
        if (progress) progress({Phase::Analysing, m.stocks.size(), m.stocks.size()});
        r.verdictsFromStore = true;
    } else {
        verdicts =
            verdictsForRun(market, m.stocks, m.unread, options, *range, progress, stop, storing);
    }
    if (stop.stop_requested()) return failed(Failure::Stopped, "stopped");

    // Each stock writes its signals into its own slice of the list.
    std::vector<std::size_t> first(m.stocks.size() + 1, 0);
    for (std::size_t i = 0; i < m.stocks.size(); ++i)
        first[i + 1] = first[i] + signalDayCount(m.stocks[i], verdicts[i], *range);
    r.signals.resize(first.back());
    parallelFor(m.stocks.size(), options.jobs, [&](std::size_t i) {
        scanStock(m.stocks[i], verdicts[i], static_cast<std::uint32_t>(i), options, *range,
                  m.dates.size(), &r.signals[first[i]]);
    });

    if (progress) progress({Phase::Summarising, 0, 1});
    r.baseline = marketBaseline(m.stocks, r.signals, first, options, *range, m.dates.size());
    addExcess(r.signals, r.baseline, *range, options.horizons.size());
    if (options.summaries) r.groups = summarise(r, options.jobs);
    if (storing.valid())
        if (auto failure = storing.get())
            r.notes.push_back("the verdicts could not be kept: " + *failure);
    noteExRightsGaps(r.signals, r.notes);
    for (StockDays& s : m.stocks) s.source = nullptr;
    r.prices = std::make_shared<const MarketPrices>(MarketPrices{std::move(m.stocks)});
    if (options.rule) {
        r.meetsRule = signalsMeeting(r, *options.rule);
        // Beside every verdict, before the trend codes.
        if (options.summaries)
            r.groups.insert(r.groups.begin() + 1,
                            summariseSignals(r, Grouping::Rule, options.rule->name,
                                             stockRuleText(options.rule->rule), r.meetsRule));
    }
    if (progress) progress({Phase::Summarising, 1, 1});
    return run;
}

}  // namespace

Run runBacktest(const Market& market, const Options& options, const ProgressSink& progress,
                std::stop_token stop) {
    if (auto bad = checkOptions(options)) return failed(Failure::BadOptions, *bad);
    // A store of this market gives its prices too. A market keyed by its
    // files was looked up in the store by the caller that read them.
    if (!options.verdictStore.empty() && market.sourceKey == 0) {
        auto kept = readKeptMarket(options.verdictStore, storeKeyOf(market, options.jobs),
                                   options.minHistory, options.jobs);
        if (kept && kept->prices.size() == market.stocks.size()) {
            if (progress) progress({Phase::Reading, market.stocks.size(), market.stocks.size()});
            return runOver(market, std::move(kept->prices), &kept->verdicts.stocks, options,
                           progress, stop);
        }
    }
    std::vector<PriceRead> reads(market.stocks.size());
    parallelFor(
        reads.size(), options.jobs,
        [&](std::size_t i) {
            const MarketStock& s = market.stocks[i];
            reads[i] = s.prices.empty() ? readPriceDays(s.history) : PriceRead{s.prices, {}};
        },
        [&](std::size_t done, std::size_t total) {
            if (progress) progress({Phase::Reading, done, total});
        },
        stop);
    if (stop.stop_requested()) return failed(Failure::Stopped, "stopped");
    return runOver(market, std::move(reads), nullptr, options, progress, stop);
}

Run runBacktest(KeptMarket kept, const Options& options, const ProgressSink& progress,
                std::stop_token stop) {
    if (auto bad = checkOptions(options)) return failed(Failure::BadOptions, *bad);
    const std::size_t stocks = kept.market.stocks.size();
    if (progress) progress({Phase::Reading, stocks, stocks});
    return runOver(kept.market, std::move(kept.prices), &kept.verdicts.stocks, options, progress,
                   stop);
}

std::string groupKey(const Results& results, const Signal& signal, Grouping grouping) {
    switch (grouping) {
        case Grouping::All:
            return "all";
        case Grouping::Trend:
            return std::to_string(signal.trend);
        case Grouping::ModelB:
            return signal.modelB ? "yes" : "no";
        case Grouping::ScoreBand:
            return signal.score >= 91 ? ">=91" : "<91";
        case Grouping::Month:
            return results.days[signal.day].substr(0, 7);
        case Grouping::Rule:
            return results.options.rule ? results.options.rule->name : std::string();
    }
    return {};
}

std::map<std::string, std::vector<float>> returnsByGroup(const Results& results, Grouping grouping,
                                                         std::size_t h) {
    std::map<std::string, std::vector<float>> out;
    for (std::size_t i = 0; i < results.signals.size(); ++i) {
        const Signal& s = results.signals[i];
        if (grouping == Grouping::Rule && !(i < results.meetsRule.size() && results.meetsRule[i]))
            continue;
        if (counts(s.entry, results.options.tradableOnly) && !std::isnan(s.outcomes[h].ret))
            out[groupKey(results, s, grouping)].push_back(s.outcomes[h].ret);
    }
    return out;
}

std::vector<std::pair<std::uint32_t, double>> cumulativeExcess(const GroupSummary& group,
                                                               std::size_t h) {
    std::vector<std::pair<std::uint32_t, double>> out;
    double sum = 0;
    for (const GroupDay& d : group.days)
        if (!std::isnan(d.meanExcess[h])) out.emplace_back(d.day, sum += d.meanExcess[h]);
    return out;
}

}  // namespace orvane::backtest
