#pragma once
// Every stock's verdict on every day of a market, as during each day's
// session (Backtest.h states the rules), and the store that keeps them
// beside the market's tree or folder so that they are worked out once.
//
// Verdicts are the cost of every back-test: a second back-test over the same
// data (other horizons, another group, a rule, a portfolio) reads them from
// the store instead. The store keeps the market beside them too (each
// stock's code, name and prices, what its reading skipped), so that a run
// over the same files reads neither them nor the history texts again. It is
// keyed by the files the market was read from (each one's name and bytes,
// Market::sourceKey), or else by the data's content (every stock's code and
// history text as the engine reads them), and by the history a verdict
// needs; a store of other data, of another engine or format, or one damaged
// in any way is worked out again and replaced, never trusted.
//
// The store is a plain column file: a header, what the reading skipped, the
// stocks' codes, names and day counts, then each field of every price day
// and of every verdict as one array, and a checksum of all of it; it is
// mapped, and each stock's rows are read on every thread at once. The
// verdicts alone kept in an SQLite table took twice the processor time to
// write as the whole file does and four times to read back
// (verdict_store_bench measures both).

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "orvane/backtest/Backtest.h"
#include "orvane/backtest/PriceDay.h"

namespace orvane::backtest {

/// One stock's verdict on one day, with what rules read beside it.
struct DayVerdict {
    std::int32_t date = 0;  // yyyymmdd
    std::int32_t trend = 0;
    std::int32_t score = 0;
    bool modelB = false;
    std::int8_t buyA = -1, buyB = -1;  // -1: the model-B check did not run
    /// Percentages: the close over the 5- and 10-day bases (the verdict's
    /// end5 and end10), and over the previous close.
    float gain5 = std::numeric_limits<float>::quiet_NaN();
    float gain10 = std::numeric_limits<float>::quiet_NaN();
    float change = std::numeric_limits<float>::quiet_NaN();
    float close = 0;
};

/// A stock's verdicts, oldest first: one a day on which it traded with at
/// least `minHistory` days before it.
struct StockVerdicts {
    std::string code;
    std::vector<DayVerdict> days;
};

struct MarketVerdicts {
    std::uint64_t key = 0;  // storeKeyOf the market they are of
    int minHistory = kDefaultMinHistory;
    std::vector<StockVerdicts> stocks;  // in the market's order

    std::size_t count() const;
};

/// A market as its store keeps it: the market without its stocks' history
/// texts, each stock's prices as its history gave them, and every verdict.
/// A back-test over it (runBacktest, Backtest.h) reads nothing and works
/// nothing out again.
struct KeptMarket {
    Market market;                  // the stocks' histories left empty
    std::vector<PriceRead> prices;  // by stock of the market
    MarketVerdicts verdicts;
};

/// A key of the market's content: every stock's code and history text, in
/// order. Any change to any of them gives another key.
std::uint64_t marketContentKey(const Market& market, int jobs = 0);

/// The key the market's store is kept under: its sourceKey when it has one,
/// else its content key.
std::uint64_t storeKeyOf(const Market& market, int jobs = 0);

/// Where the store of a tree, a folder or a market file lies: beside it,
/// under its name with ".verdicts" added.
std::filesystem::path verdictStorePathFor(const std::filesystem::path& data);

/// The verdicts of every stock of the market, worked out on `jobs` threads
/// (0: one per processor); empty for the stocks whose history cannot be read.
MarketVerdicts computeMarketVerdicts(const Market& market, int minHistory, int jobs = 0,
                                     std::stop_token stop = {});

/// The store's bytes, and the market back from them, on `jobs` threads:
/// nothing when the bytes are no store, are damaged, or hold another market
/// or history (`key`, `minHistory`).
std::string verdictStoreBytes(const KeptMarket& kept, int jobs = 0);
std::optional<KeptMarket> keptMarketFromStore(std::string_view bytes, std::uint64_t key,
                                              int minHistory, int jobs = 0);
/// Whether the store's header is of this market and history (and, for a
/// reading that refused lines, of today): what its first bytes alone tell.
bool storeHeaderFits(std::string_view bytes, std::uint64_t key, int minHistory);

/// The market the store at `store` keeps: nothing when there is none, or it
/// is of another market or history, or damaged, or keeps a reading that
/// refused lines on another day than today.
std::optional<KeptMarket> readKeptMarket(const std::filesystem::path& store, std::uint64_t key,
                                         int minHistory, int jobs = 0);

/// Where the verdicts of a run came from.
enum class VerdictSource : std::uint8_t {
    Store,     // read from the store
    Computed,  // worked out; the store was written
    Unstored   // worked out; the store could not be written (`problem` says why)
};

struct LoadedVerdicts {
    MarketVerdicts verdicts;
    VerdictSource source = VerdictSource::Computed;
    std::string problem;
};

/// Every stock's verdict on every day of the market: read from the store at
/// `store` when it holds this market's, else worked out and the store
/// replaced (atomically). The one way into the verdicts for back-tests,
/// portfolios and rules.
LoadedVerdicts marketVerdicts(const Market& market, const std::filesystem::path& store,
                              int minHistory = kDefaultMinHistory, int jobs = 0,
                              std::stop_token stop = {});

}  // namespace orvane::backtest
