#pragma once
// Reading the market a back-test runs over: a tree the data server's
// publisher wrote (`orvane-server publish`), or a user's daily data (our CSV
// files with their stock list, or any layout --data knows), read exactly as
// the publisher reads it.

#include <filesystem>
#include <string>

#include "orvane/backtest/Backtest.h"
#include "orvane/market/MarketAdjustment.h"

namespace orvane::backtest {

enum class SourceFailure : std::uint8_t {
    None,
    Unreadable,  // the tree, the folder or the stock list cannot be read
    NoStocks     // it could be read, but no stock in it could
};

struct MarketLoad {
    Market market;
    SourceFailure failure = SourceFailure::None;
    std::string message;                 // what cannot be read and what to do about it
    std::size_t refusedLines = 0;        // CSV day lines refused as impossible
    MarketAdjustmentSummary adjustment;  // when the daily files were adjusted
};

/// The histories of a published tree (const/hisdata/stockdata/CODE.txt, the
/// composite indexes left out) with the names of its code table
/// (const/constdata.zip; without it the names, and so ST shares, are unknown).
MarketLoad loadPublishedTree(const std::filesystem::path& tree);

/// Every CODE.csv of the folder, checked strictly as the publisher checks
/// them (a file that fails is named and skipped), made into the history text
/// the publisher would publish; names from the stock list. Read on `jobs`
/// threads (0: one per processor). With `adjustment`, the prices are
/// adjusted forward from its sources first (as the publisher's --adjust).
MarketLoad loadDailyCsv(const std::filesystem::path& csvDir, const std::filesystem::path& stockList,
                        int jobs = 0, const AdjustmentSources* adjustment = nullptr);

/// A market in any layout the publisher's --data reads (MarketData.h), read
/// as the publisher reads it; names from the stock list when one is given
/// (empty: the names, and so ST shares, are unknown). With `adjustment`, as
/// loadDailyCsv.
MarketLoad loadMarketData(const std::filesystem::path& data, const std::filesystem::path& stockList,
                          int jobs = 0, const AdjustmentSources* adjustment = nullptr);

}  // namespace orvane::backtest
