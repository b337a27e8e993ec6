#pragma once
// A user's market in any layout known (MarketLayout.h) read into the daily
// series the publisher and the back-test take: each stock's days oldest
// first, in the history's units (prices in yuan, volumes in lots), named
// from the stock list. Only Shanghai's and Shenzhen's shares are read:
// indexes, funds and bonds are left out, Beijing's stocks with one note.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "orvane/market/DailyFolder.h"
#include "orvane/market/MarketLayout.h"

namespace orvane {

struct MarketData {
    bool layoutFound = false;  // false: `path` is in no layout known (see `failure`)
    MarketLayout layout = MarketLayout::Own;
    std::vector<StockSeries> stocks;  // by code
    std::size_t refusedLines = 0;     // day lines and records refused
    std::vector<std::string> notes;   // what was left out on purpose, one line each
    std::string failure;              // set when nothing could be read
};

/// Reads `path` (see detectMarketLayout): a file or a line that cannot be
/// read goes to `problem` with the file, its line (or record) and why, and
/// is skipped; the rest is read. Our own layout is read exactly as
/// readDailyFiles reads it. Stocks missing from `listing` get their code as
/// name. Read on `jobs` threads (0: one per processor).
MarketData readMarketData(const std::filesystem::path& path,
                          const std::vector<ListedStock>& listing,
                          const std::function<void(const std::string&)>& problem, int jobs = 0);

}  // namespace orvane
