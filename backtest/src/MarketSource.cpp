#include "orvane/backtest/MarketSource.h"

#include <algorithm>
#include <fstream>
#include <unordered_map>

#include "ContentHash.h"
#include "PriceDays.h"
#include "orvane/analysis/SidewaysRegion.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/ReferenceArchive.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/DailyFolder.h"
#include "orvane/market/MarketData.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/market/StockCode.h"

namespace orvane::backtest {

namespace fs = std::filesystem;

namespace {

fs::path below(const fs::path& tree, std::string_view serverPath) {
    return tree / fs::path(std::string(serverPath)).relative_path();
}

MarketLoad failure(SourceFailure kind, std::string message) {
    MarketLoad load;
    load.failure = kind;
    load.message = std::move(message);
    return load;
}

// The code table of a tree's reference archive, read from the archive in
// memory; empty when the archive is missing or unsound.
std::unordered_map<std::string, std::string> treeNames(const fs::path& tree, std::string& why) {
    constexpr std::uint64_t kMaxCodeTableBytes = 64ull << 20;
    std::unordered_map<std::string, std::string> names;
    const fs::path zip = below(tree, serverpath::kConstDataZip);
    std::error_code ec;
    if (!fs::is_regular_file(zip, ec)) {
        why = zip.string() + " is missing";
        return names;
    }
    const auto table = readArchiveEntry(zip, "constdata/stockcode/code.txt", kMaxCodeTableBytes);
    if (!table) {
        why = zip.string() + ": its code table cannot be read";
        return names;
    }
    for (CodeTableEntry& e : parseCodeTable(*table)) names[e.code] = std::move(e.name);
    return names;
}

bool isStockFile(const fs::path& file, std::string& code, std::string_view extension) {
    code = file.stem().string();
    return file.extension() == extension && isValidStockCode(code) && !isCompositeCode(code);
}

}  // namespace

MarketLoad loadPublishedTree(const fs::path& tree) {
    const fs::path folder = below(tree, serverpath::kHistoryFolder);
    std::error_code ec;
    const std::string publish = "publish one with: orvane-server publish --out " + tree.string();
    if (!fs::is_directory(tree, ec))
        return failure(SourceFailure::Unreadable, tree.string() + ": no such folder; " + publish);
    if (!fs::is_directory(folder, ec))
        return failure(
            SourceFailure::Unreadable,
            tree.string() + " is no published tree (it has no " +
                fs::path(std::string(serverpath::kHistoryFolder)).relative_path().string() + "); " +
                publish);
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        files.push_back(it->path());
    if (ec)
        return failure(SourceFailure::Unreadable,
                       folder.string() + ": " + ec.message() + "; check its permissions");
    std::sort(files.begin(), files.end());

    MarketLoad load;
    std::string why;
    const auto names = treeNames(tree, why);
    if (!why.empty())
        load.market.problems.push_back(why +
                                       ": the names are unknown, so ST shares get the 10% limit");
    std::string code;
    for (const fs::path& file : files) {
        if (!isStockFile(file, code, ".txt")) continue;
        auto text = readFile(file);
        if (!text) {
            load.market.problems.push_back(file.string() + ": cannot read; skipped");
            continue;
        }
        const auto name = names.find(code);
        load.market.stocks.push_back(
            {code, name != names.end() ? name->second : std::string(), std::move(*text)});
    }
    if (load.market.stocks.empty()) {
        load.failure = SourceFailure::NoStocks;
        load.message = folder.string() + ": no stock history could be read; " + publish;
    }
    return load;
}

namespace {

// The series made into the history texts the publisher would publish.
void takeSeries(std::vector<StockSeries> series, const std::vector<ListedStock>& listing, int jobs,
                MarketLoad& load) {
    std::unordered_map<std::string, std::string> names;
    for (const ListedStock& s : listing) names[s.code] = s.name;
    std::erase_if(series, [](const StockSeries& s) { return isCompositeCode(s.listing.code); });
    std::vector<MarketStock>& stocks = load.market.stocks;
    stocks.resize(series.size());
    parallelFor(series.size(), jobs, [&](std::size_t i) {
        const std::string& code = series[i].listing.code;
        const auto name = names.find(code);
        stocks[i] = {code, name != names.end() ? name->second : std::string(),
                     historyTextOf(series[i].bars), priceDaysOf(series[i].bars).days};
        std::vector<DailyBar>().swap(series[i].bars);
    });
}

}  // namespace

MarketLoad loadDailyCsv(const fs::path& csvDir, const fs::path& stockList, int jobs,
                        const AdjustmentSources* adjustment) {
    std::error_code ec;
    if (!fs::is_directory(csvDir, ec))
        return failure(SourceFailure::Unreadable,
                       csvDir.string() + ": no such folder; give the folder of CODE.csv files");
    if (auto bad = stockListProblem(stockList))
        return failure(SourceFailure::Unreadable,
                       *bad + "; give a UTF-8 CSV with the columns symbol (or code) and name");
    MarketLoad load;
    auto problem = [&](const std::string& text) { load.market.problems.push_back(text); };
    const std::vector<ListedStock> listing = readStockList(stockList, problem);
    std::vector<StockSeries> series = readDailyFolder(csvDir, listing, problem, jobs);
    for (const StockSeries& s : series) load.market.refusedLines += s.refusedLines;
    if (adjustment) load.market.adjustment = adjustMarketForward(series, *adjustment);
    takeSeries(std::move(series), listing, jobs, load);
    if (load.market.stocks.empty()) {
        load.failure = SourceFailure::NoStocks;
        load.message = csvDir.string() +
                       ": no CODE.csv could be read; each needs the columns date, open, close, "
                       "high, low and volume";
    }
    return load;
}

MarketLoad loadMarketData(const fs::path& data, const fs::path& stockList, int jobs,
                          const AdjustmentSources* adjustment) {
    if (!stockList.empty())
        if (auto bad = stockListProblem(stockList))
            return failure(SourceFailure::Unreadable,
                           *bad + "; give a CSV with the columns symbol (or code) and name");
    MarketLoad load;
    auto problem = [&](const std::string& text) { load.market.problems.push_back(text); };
    std::vector<ListedStock> listing;
    if (stockList.empty())
        problem("no stock list: the codes stand in for the names, so ST shares get the 10% limit");
    else
        listing = readStockList(stockList, problem);
    MarketData read = readMarketData(data, listing, problem, jobs);
    if (!read.failure.empty())
        return failure(read.layoutFound ? SourceFailure::NoStocks : SourceFailure::Unreadable,
                       read.failure);
    for (std::string& note : read.notes) problem(note);
    load.market.refusedLines = read.refusedLines;
    if (adjustment) load.market.adjustment = adjustMarketForward(read.stocks, *adjustment);
    takeSeries(std::move(read.stocks), listing, jobs, load);
    if (load.market.stocks.empty()) {
        load.failure = SourceFailure::NoStocks;
        load.message = data.string() + ": no stock could be read";
    }
    return load;
}

namespace {

// The files below a folder, by name below it (a file given alone has an
// empty name).
std::vector<std::pair<std::string, fs::path>> filesOf(const fs::path& path) {
    std::vector<std::pair<std::string, fs::path>> files;
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
        files.emplace_back(std::string(), path);
        return files;
    }
    for (fs::recursive_directory_iterator it(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file(ec))
            files.emplace_back(it->path().lexically_relative(path).string(), it->path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::uint64_t sourceFilesKey(const MarketFiles& files, int jobs) {
    using Layout = MarketFiles::Layout;
    std::vector<fs::path> paths = files.layout == Layout::PublishedTree
                                      ? std::vector{below(files.data, serverpath::kHistoryFolder),
                                                    below(files.data, serverpath::kConstDataZip)}
                                      : std::vector{files.data, files.stockList};
    if (files.adjusted) paths.insert(paths.end(), {files.events, files.factors});
    // One hash a file, of its name and bytes, each path's files closed by a
    // hash of how many they were.
    std::vector<std::uint64_t> each;
    for (const fs::path& path : paths) {
        const auto named = filesOf(path);
        const std::size_t first = each.size();
        each.resize(first + named.size() + 1);
        parallelFor(named.size(), jobs, [&](std::size_t i) {
            const auto bytes = readFile(named[i].second);
            const std::uint64_t name = hashBytes(named[i].first);
            each[first + i] = bytes ? hashBytes(*bytes, name) : mixBits(~name);
        });
        each.back() = mixBits(named.size());
    }
    const std::uint64_t reading = static_cast<std::uint64_t>(files.layout) * 2 + files.adjusted;
    return hashBytes(std::string_view(reinterpret_cast<const char*>(each.data()),
                                      each.size() * sizeof(std::uint64_t)),
                     mixBits(reading + 1));
}

}  // namespace orvane::backtest
