#include "orvane/backtest/MarketVerdicts.h"

#include "ContentHash.h"
#include "MappedFile.h"
#include "StockVerdicts.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/ParallelFor.h"

namespace orvane::backtest {

namespace fs = std::filesystem;

namespace {

// Nothing once written, else why not.
std::optional<std::string> writeStore(const fs::path& store, std::string_view bytes) {
    if (auto failure = replaceFile(store, bytes))
        return *failure + "; the verdicts are worked out again on the next run";
    return std::nullopt;
}

// The market as a store keeps it: everything but the history texts.
Market withoutHistories(const Market& market, std::uint64_t key) {
    Market out;
    out.stocks.reserve(market.stocks.size());
    for (const MarketStock& s : market.stocks) out.stocks.push_back({s.code, s.name, {}});
    out.problems = market.problems;
    out.refusedLines = market.refusedLines;
    out.adjustment = market.adjustment;
    out.sourceKey = key;
    return out;
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

std::uint64_t storeKeyOf(const Market& market, int jobs) {
    return market.sourceKey != 0 ? market.sourceKey : marketContentKey(market, jobs);
}

fs::path verdictStorePathFor(const fs::path& data) {
    fs::path named = data.lexically_normal();
    if (!named.has_filename()) named = named.parent_path();  // "tree/" names "tree"
    return named.parent_path() / (named.filename().string() + ".verdicts");
}

std::optional<KeptMarket> readKeptMarket(const fs::path& store, std::uint64_t key, int minHistory,
                                         int jobs) {
    // Mapped rather than copied: the store is read once, whole, and only
    // when its header says it is of this market (a day's new data leaves
    // yesterday's store beside it).
    const MappedFile file(store);
    if (!file.bytes() || !storeHeaderFits(*file.bytes(), key, minHistory)) return std::nullopt;
    file.readAhead();
    return keptMarketFromStore(*file.bytes(), key, minHistory, jobs);
}

namespace {

std::vector<PriceRead> readPrices(const Market& market, int jobs) {
    std::vector<PriceRead> reads(market.stocks.size());
    parallelFor(reads.size(), jobs,
                [&](std::size_t i) { reads[i] = readPriceDays(market.stocks[i].history); });
    return reads;
}

// The verdicts over the prices read (none for a stock whose history could
// not be read), which are lent to the work and given back.
MarketVerdicts verdictsOver(const Market& market, std::vector<PriceRead>& reads, std::uint64_t key,
                            int minHistory, int jobs, std::stop_token stop) {
    std::vector<StockDays> stocks(reads.size());
    for (std::size_t i = 0; i < reads.size(); ++i) {
        stocks[i].source = &market.stocks[i];
        stocks[i].days = std::move(reads[i].days);
    }
    MarketVerdicts out;
    out.key = key;
    out.minHistory = minHistory;
    out.stocks = computeEach(stocks, minHistory, kWholeCalendar, jobs, {}, stop);
    for (std::size_t i = 0; i < reads.size(); ++i) reads[i].days = std::move(stocks[i].days);
    return out;
}

}  // namespace

MarketVerdicts computeMarketVerdicts(const Market& market, int minHistory, int jobs,
                                     std::stop_token stop) {
    std::vector<PriceRead> reads = readPrices(market, jobs);
    return verdictsOver(market, reads, storeKeyOf(market, jobs), minHistory, jobs, stop);
}

LoadedVerdicts marketVerdicts(const Market& market, const fs::path& store, int minHistory, int jobs,
                              std::stop_token stop) {
    LoadedVerdicts loaded;
    const std::uint64_t key = storeKeyOf(market, jobs);
    if (auto kept = readKeptMarket(store, key, minHistory, jobs)) {
        loaded.verdicts = std::move(kept->verdicts);
        loaded.source = VerdictSource::Store;
        return loaded;
    }
    KeptMarket kept;
    kept.prices = readPrices(market, jobs);
    loaded.verdicts = verdictsOver(market, kept.prices, key, minHistory, jobs, stop);
    if (stop.stop_requested()) return loaded;
    kept.market = withoutHistories(market, key);
    kept.verdicts = std::move(loaded.verdicts);
    if (auto failure = writeStore(store, verdictStoreBytes(kept, jobs))) {
        loaded.source = VerdictSource::Unstored;
        loaded.problem = *failure;
    }
    loaded.verdicts = std::move(kept.verdicts);
    return loaded;
}

std::vector<StockVerdicts> verdictsForRun(const Market& market, std::vector<StockDays>& stocks,
                                          std::vector<PriceRead>& unread, const Options& options,
                                          DayRange range, const ProgressSink& progress,
                                          std::stop_token stop, StoreWrite& storing) {
    if (options.verdictStore.empty())
        return computeEach(stocks, options.minHistory, range, options.jobs, progress, stop);

    std::vector<StockVerdicts> out =
        computeEach(stocks, options.minHistory, kWholeCalendar, options.jobs, progress, stop);
    if (stop.stop_requested()) return out;
    // The store holds every stock of the market in its order, the run those
    // whose prices could be read: theirs are lent to the store while it is
    // written.
    const std::uint64_t key = storeKeyOf(market, options.jobs);
    auto marketIndex = [&](const StockDays& s) {
        return static_cast<std::size_t>(s.source - market.stocks.data());
    };
    KeptMarket kept;
    kept.market = withoutHistories(market, key);
    kept.prices = std::move(unread);
    kept.verdicts.key = key;
    kept.verdicts.minHistory = options.minHistory;
    kept.verdicts.stocks.resize(market.stocks.size());
    for (std::size_t i = 0; i < market.stocks.size(); ++i)
        kept.verdicts.stocks[i].code = market.stocks[i].code;
    for (std::size_t i = 0; i < stocks.size(); ++i) {
        kept.verdicts.stocks[marketIndex(stocks[i])].days = std::move(out[i].days);
        kept.prices[marketIndex(stocks[i])].days = std::move(stocks[i].days);
    }
    std::string bytes = verdictStoreBytes(kept, options.jobs);
    for (std::size_t i = 0; i < stocks.size(); ++i) {
        out[i].days = std::move(kept.verdicts.stocks[marketIndex(stocks[i])].days);
        stocks[i].days = std::move(kept.prices[marketIndex(stocks[i])].days);
    }
    unread = std::move(kept.prices);
    // The file goes to the disk while the run goes on.
    storing =
        std::async(std::launch::async, [store = options.verdictStore, bytes = std::move(bytes)] {
            return writeStore(store, bytes);
        });
    return out;
}

}  // namespace orvane::backtest
