#include "orvane/market/MarketAdjustment.h"

#include <algorithm>

#include "orvane/core/ParallelFor.h"
#include "orvane/market/ExRightsGaps.h"

namespace orvane {

namespace {

std::vector<std::pair<std::string, double>> datedFactors(const StockSeries& s) {
    std::vector<std::pair<std::string, double>> out;
    for (std::size_t i = 0; i < s.bars.size() && i < s.adjustmentFactors.size(); ++i)
        if (s.adjustmentFactors[i] > 0) out.emplace_back(s.bars[i].date, s.adjustmentFactors[i]);
    return out;
}

// The steps of one stock from the first source that knows it, and whether
// any did.
std::pair<std::vector<AdjustmentStep>, bool> stepsOf(const StockSeries& s,
                                                     const AdjustmentSources& sources) {
    const std::string& code = s.listing.code;
    if (sources.events) {
        if (const auto e = sources.events->byCode.find(code); e != sources.events->byCode.end())
            return {stepsFromEvents(s.bars, e->second), true};
    }
    if (sources.factors) {
        if (const auto f = sources.factors->byCode.find(code); f != sources.factors->byCode.end())
            return {stepsFromAdjustmentFactors(s.bars, f->second), true};
    }
    if (!s.adjustmentFactors.empty())
        return {stepsFromAdjustmentFactors(s.bars, datedFactors(s)), true};
    if (!s.previousCloses.empty()) return {stepsFromPreviousCloses(s.bars, s.previousCloses), true};
    // With an events file, a stock it does not name had no event.
    return {{}, sources.events != nullptr};
}

}  // namespace

std::optional<std::string> AdjustmentFiles::fault() const {
    if (events && events->fault) return events->fault;
    if (factors && factors->fault) return factors->fault;
    return std::nullopt;
}

std::vector<std::string> AdjustmentFiles::problems() const {
    std::vector<std::string> out;
    if (events) out = events->problems;
    if (factors) out.insert(out.end(), factors->problems.begin(), factors->problems.end());
    return out;
}

AdjustmentSources AdjustmentFiles::sources() const {
    return {events ? &*events : nullptr, factors ? &*factors : nullptr};
}

AdjustmentFiles readAdjustmentFiles(const std::filesystem::path& events,
                                    const std::filesystem::path& factors) {
    AdjustmentFiles files;
    if (!events.empty()) files.events = readExRightsEventsFile(events);
    if (!factors.empty()) files.factors = readAdjustmentFactorsFile(factors);
    return files;
}

std::optional<std::string> adjustmentSourceProblem(const MarketAdjustmentSummary& summary,
                                                   std::size_t stocks) {
    if (summary.stocksWithoutSource < stocks) return std::nullopt;
    return "--adjust forward needs the ex-rights days: give --events or --adj-factors, or daily "
           "files with an adj_factor or a previous-close column";
}

MarketAdjustmentSummary adjustMarketForward(std::vector<StockSeries>& stocks,
                                            const AdjustmentSources& sources,
                                            const std::function<void(const StockSeries&)>& asTraded,
                                            int jobs) {
    std::vector<MarketAdjustmentSummary> each(stocks.size());
    parallelFor(stocks.size(), jobs, [&](std::size_t i) {
        StockSeries& s = stocks[i];
        if (asTraded) asTraded(s);
        auto [steps, known] = stepsOf(s, sources);
        each[i].stocksWithoutSource = !known;
        // What the layout told of the days as traded is used up.
        std::vector<double>().swap(s.previousCloses);
        std::vector<double>().swap(s.adjustmentFactors);
        if (steps.empty()) return;
        each[i].stocksAdjusted = 1;
        each[i].exRightsDays = steps.size();
        s.bars = forwardAdjusted(std::move(s.bars), std::move(steps));
    });
    MarketAdjustmentSummary summary;
    for (const MarketAdjustmentSummary& one : each) {
        summary.stocksAdjusted += one.stocksAdjusted;
        summary.exRightsDays += one.exRightsDays;
        summary.stocksWithoutSource += one.stocksWithoutSource;
    }
    return summary;
}

std::vector<std::string> describeExRightsGaps(const std::vector<StockSeries>& stocks) {
    std::string firstDay;
    for (const StockSeries& s : stocks)
        if (!s.bars.empty() && (firstDay.empty() || s.bars.front().date < firstDay))
            firstDay = s.bars.front().date;
    std::vector<const StockSeries*> byCode;
    for (const StockSeries& s : stocks) byCode.push_back(&s);
    std::sort(byCode.begin(), byCode.end(), [](const StockSeries* a, const StockSeries* b) {
        return a->listing.code < b->listing.code;
    });
    std::vector<std::string> out;
    for (const StockSeries* s : byCode) {
        if (s->bars.empty()) continue;
        const bool listedInData = s->bars.front().date > firstDay;
        for (const SuspectGap& gap :
             suspectExRightsGaps(s->listing.code, s->bars, false, listedInData))
            out.push_back(describeGap(s->listing.code, gap));
    }
    return out;
}

}  // namespace orvane
