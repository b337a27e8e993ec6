#pragma once
// Reading the market a back-test runs over: a tree the data server's
// publisher wrote (`orvane-server publish`), or a user's daily data (our CSV
// files with their stock list, or any layout --data knows), read exactly as
// the publisher reads it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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
    std::string message;  // what cannot be read and what to do about it
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

/// The files a market is read from, as the readers above are given them.
struct MarketFiles {
    enum class Layout : std::uint8_t { PublishedTree, DailyCsv, MarketData };
    Layout layout = Layout::DailyCsv;
    std::filesystem::path data{};       // the tree, the CSV folder, or --data's folder or file
    std::filesystem::path stockList{};  // none with a tree
    bool adjusted = false;              // adjusted forward from the two files below
    std::filesystem::path events{}, factors{};
};

/// A key of the files a market is read from: each file's name and bytes (a
/// folder's every file below it; a tree's histories and code table), hashed
/// on `jobs` threads, and how they are read. Far cheaper than reading the
/// market, it is what the market's verdict store is kept under
/// (Market::sourceKey), so that a run over the same files takes the market
/// from the store. A missing path or an unreadable file counts as such.
std::uint64_t sourceFilesKey(const MarketFiles& files, int jobs = 0);

}  // namespace orvane::backtest
