#pragma once
// A user's daily data in our own layout: one CSV a stock (CODE.csv, oldest
// day first) and a stock list (columns found by header: "symbol" or "code",
// "name", "industry" and an optional "pinyin"; MarketData.h reads the other
// layouts). The publisher and the back-test read
// a market this way.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "orvane/market/CsvHistory.h"

namespace orvane {

struct ListedStock {
    std::string code;
    std::string name;      // short Chinese name, UTF-8
    std::string industry;  // sector group
    std::string pinyin;    // initials when the list gives them
};

/// One stock's daily bars, oldest first.
struct StockSeries {
    ListedStock listing;
    std::vector<DailyBar> bars;
    std::size_t refusedLines = 0;  // day lines of its file refused as impossible
    // What a layout tells of ex-rights days, a value for each bar (empty when
    // it tells nothing): the exchange's previous close (0 where unknown) and
    // a vendor's cumulative adjustment factor (0 where unknown).
    std::vector<double> previousCloses;
    std::vector<double> adjustmentFactors;
};

/// Why the stock list cannot be used at all (it cannot be read, is neither
/// UTF-8 nor GB 18030, or its header lacks the code or the name column), or
/// nothing: a command asks before its work starts. The list may be ours,
/// tushare's stock_basic, akshare's or baostock's code-name list: codes such
/// as 000001.SZ or sh.600000 are read as their six digits, and the indexes
/// of a list that names the exchange and Beijing's codes are left out.
std::optional<std::string> stockListProblem(const std::filesystem::path& listCsv);

/// The stock list; `problem` names the file and line of anything skipped
/// (the whole list, when `stockListProblem` finds one).
std::vector<ListedStock> readStockList(const std::filesystem::path& listCsv,
                                       const std::function<void(const std::string&)>& problem);

/// Every CODE.csv of the folder with a valid code, read by
/// `readCheckedDailyCsv` with the process clock's today: a file that fails
/// the check is reported (file and line) and skipped, a refused line is
/// reported (file and line) and the rest of its file kept. Stocks missing
/// from the list get their code as name. Files are read on `jobs` threads
/// (0: one per processor).
std::vector<StockSeries> readDailyFolder(const std::filesystem::path& csvDir,
                                         const std::vector<ListedStock>& listing,
                                         const std::function<void(const std::string&)>& problem,
                                         int jobs = 0);

/// The same for the given CODE.csv files.
std::vector<StockSeries> readDailyFiles(const std::vector<std::filesystem::path>& files,
                                        const std::vector<ListedStock>& listing,
                                        const std::function<void(const std::string&)>& problem,
                                        int jobs = 0);

}  // namespace orvane
