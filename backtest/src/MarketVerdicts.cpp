#include "orvane/backtest/MarketVerdicts.h"

#include "ContentHash.h"
#include "StockVerdicts.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/ParallelFor.h"

namespace orvane::backtest {

namespace fs = std::filesystem;

namespace {

std::optional<MarketVerdicts> readStore(const fs::path& store, std::uint64_t key, int minHistory) {
    const std::optional<std::string> bytes = readFile(store);
    if (!bytes) return std::nullopt;
    return verdictsFromStore(*bytes, key, minHistory);
}

// Nothing once written, else why not.
std::optional<std::string> writeStore(const fs::path& store, const MarketVerdicts& verdicts) {
    if (auto failure = replaceFile(store, verdictStoreBytes(verdicts)))
        return *failure + "; the verdicts are worked out again on the next run";
    return std::nullopt;
}

// Each stock's verdicts on `stocks.size()` threads, reporting as they end.
std::vector<StockVerdicts> computeEach(const std::vector<StockDays>& stocks, int minHistory,
                                       DayRange range, int jobs, const ProgressSink& progress,
                                       std::stop_token stop) {
    std::vector<StockVerdicts> out(stocks.size());
    parallelFor(
        stocks.size(), jobs,
        [&](std::size_t i) { out[i] = verdictsOf(stocks[i], minHistory, range); },
        [&](std::size_t done, std::size_t total) {
            if (progress) progress({Phase::Analysing, done, total});
        },
        stop);
    return out;
}

}  // namespace

std::uint64_t marketContentKey(const Market& market, int jobs) {
    std::vector<std::uint64_t> each(market.stocks.size());
    parallelFor(each.size(), jobs, [&](std::size_t i) {
        const MarketStock& s = market.stocks[i];
        each[i] = hashBytes(s.history, hashBytes(s.code));
    });
    return hashBytes(std::string_view(reinterpret_cast<const char*>(each.data()),
                                      each.size() * sizeof(std::uint64_t)));
}

fs::path verdictStorePathFor(const fs::path& data) {
    fs::path named = data.lexically_normal();
    if (!named.has_filename()) named = named.parent_path();  // "tree/" names "tree"
    return named.parent_path() / (named.filename().string() + ".verdicts");
}

MarketVerdicts computeMarketVerdicts(const Market& market, int minHistory, int jobs,
                                     std::stop_token stop) {
    std::vector<StockDays> stocks(market.stocks.size());
    parallelFor(stocks.size(), jobs, [&](std::size_t i) {
        stocks[i].source = &market.stocks[i];
        stocks[i].days = readPriceDays(market.stocks[i].history).days;  // none when unreadable
    });
    MarketVerdicts out;
    out.key = marketContentKey(market, jobs);
    out.minHistory = minHistory;
    out.stocks = computeEach(stocks, minHistory, kWholeCalendar, jobs, {}, stop);
    return out;
}

LoadedVerdicts marketVerdicts(const Market& market, const fs::path& store, int minHistory, int jobs,
                              std::stop_token stop) {
    LoadedVerdicts loaded;
    if (auto kept = readStore(store, marketContentKey(market, jobs), minHistory)) {
        loaded.verdicts = std::move(*kept);
        loaded.source = VerdictSource::Store;
        return loaded;
    }
    loaded.verdicts = computeMarketVerdicts(market, minHistory, jobs, stop);
    if (stop.stop_requested()) return loaded;
    if (auto failure = writeStore(store, loaded.verdicts)) {
        loaded.source = VerdictSource::Unstored;
        loaded.problem = *failure;
    }
    return loaded;
}

std::vector<StockVerdicts> verdictsForRun(const Market& market,
                                          const std::vector<StockDays>& stocks,
                                          const Options& options, DayRange range,
                                          const ProgressSink& progress, std::stop_token stop,
                                          std::vector<std::string>& notes, bool& fromStore) {
    fromStore = false;
    if (options.verdictStore.empty())
        return computeEach(stocks, options.minHistory, range, options.jobs, progress, stop);

    // The store holds the market's stocks in its order; the run has those
    // whose prices could be read.
    auto marketIndex = [&](const StockDays& s) {
        return static_cast<std::size_t>(s.source - market.stocks.data());
    };
    const std::uint64_t key = marketContentKey(market, options.jobs);
    std::optional<MarketVerdicts> kept = readStore(options.verdictStore, key, options.minHistory);
    if (kept && kept->stocks.size() == market.stocks.size()) {
        std::vector<StockVerdicts> out(stocks.size());
        for (std::size_t i = 0; i < stocks.size(); ++i)
            out[i] = std::move(kept->stocks[marketIndex(stocks[i])]);
        if (progress) progress({Phase::Analysing, stocks.size(), stocks.size()});
        fromStore = true;
        return out;
    }
    std::vector<StockVerdicts> out =
        computeEach(stocks, options.minHistory, kWholeCalendar, options.jobs, progress, stop);
    if (stop.stop_requested()) return out;
    MarketVerdicts all;
    all.key = key;
    all.minHistory = options.minHistory;
    all.stocks.resize(market.stocks.size());
    for (std::size_t i = 0; i < market.stocks.size(); ++i)
        all.stocks[i].code = market.stocks[i].code;
    for (std::size_t i = 0; i < stocks.size(); ++i)
        all.stocks[marketIndex(stocks[i])].days = std::move(out[i].days);
    if (auto failure = writeStore(options.verdictStore, all))
        notes.push_back("the verdicts could not be kept: " + *failure);
    for (std::size_t i = 0; i < stocks.size(); ++i)
        out[i].days = std::move(all.stocks[marketIndex(stocks[i])].days);
    return out;
}

}  // namespace orvane::backtest
