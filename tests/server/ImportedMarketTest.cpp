// The real market (../shared/market, skipped without it) written in each
// layout other tools use and read from there: every stock's days are bit for
// bit the ones our own layout's files give, and so (the publisher being a
// function of them) is every file of the tree published from them, which
// the tree of each layout shows.
// The day files keep volumes in 32 bits; a day whose volume in shares does
// not fit is capped when they are written, so on those days alone a history's
// volume (its own stock's, and the composite indexes' sums) may differ, and
// the results of those stocks and days may follow.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "MarketLayouts.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/MarketData.h"
#include "orvane/publisher/Publisher.h"

using orvane::DailyBar;
using orvane::StockSeries;

namespace fs = std::filesystem;
using namespace orvane;

namespace {

// Kept small: the files of the last day are as telling as those of 98.
constexpr int kDaysBack = 0;

std::map<std::string, std::string> treeFiles(const fs::path& tree) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(tree / "const" / "hisdata"))
        if (e.is_regular_file())
            out[fs::relative(e.path(), tree).string()] = readFile(e.path()).value_or("?");
    return out;
}

std::vector<StockSeries> readFrom(const fs::path& data, const fs::path& stockList,
                                  MarketLayout expected) {
    std::vector<std::string> problems;
    MarketData market = readMarketData(
        data, readStockList(stockList, [&](const std::string& p) { problems.push_back(p); }),
        [&](const std::string& p) { problems.push_back(p); });
    EXPECT_EQ(market.failure, "");
    EXPECT_EQ(market.layout, expected) << marketLayoutName(market.layout);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, as " << problems.front();
    EXPECT_EQ(market.refusedLines, 0u);
    return std::move(market.stocks);
}

fs::path publish(std::vector<StockSeries> stocks, const fs::path& tree) {
    server::PublishOptions options;
    options.daysBack = kDaysBack;
    options.version = {2025, 9, 4, 8, 0, 0};
    const auto report = server::publishMarket(std::move(stocks), tree, options);
    EXPECT_TRUE(report.ok) << report.error;
    return tree;
}

// The lines of `b` that differ from `a`'s (both split the same way).
std::vector<std::string> changedLines(const std::string& a, const std::string& b) {
    const auto la = splitOn(a, '\n'), lb = splitOn(b, '\n');
    std::vector<std::string> out;
    for (std::size_t i = 0; i < std::max(la.size(), lb.size()); ++i)
        if (i >= la.size() || i >= lb.size() || la[i] != lb[i])
            out.emplace_back(i < lb.size() ? lb[i] : std::string_view("(missing)"));
    return out;
}

// The same stocks with the same names and bit for bit the same days, but
// for the `capped` days ("CODE yyyy-MM-dd"), whose volumes may differ.
void expectSameSeries(const std::vector<StockSeries>& reference,
                      const std::vector<StockSeries>& read,
                      const std::set<std::string>& capped = {}) {
    ASSERT_EQ(read.size(), reference.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const StockSeries &a = reference[i], &b = read[i];
        ASSERT_EQ(b.listing.code, a.listing.code);
        EXPECT_EQ(b.listing.name, a.listing.name) << a.listing.code;
        ASSERT_EQ(b.bars.size(), a.bars.size()) << a.listing.code;
        for (std::size_t d = 0; d < a.bars.size(); ++d) {
            const DailyBar &x = a.bars[d], &y = b.bars[d];
            const bool same = x.date == y.date && x.open == y.open && x.high == y.high &&
                              x.low == y.low && x.close == y.close;
            const bool mayDiffer = capped.contains(a.listing.code + " " + x.date);
            if (same && (x.volume == y.volume || mayDiffer)) continue;
            if (++differing <= 5) ADD_FAILURE() << a.listing.code << " " << x.date << " differs";
        }
    }
}

// Every file of `tree` is the reference's, but for lines naming one of the
// `mayDiffer` dates in files of the `mayDifferIn` codes.
void expectSameTree(const std::map<std::string, std::string>& reference, const fs::path& tree,
                    const std::set<std::string>& mayDiffer = {},
                    const std::set<std::string>& mayDifferIn = {}) {
    const auto files = treeFiles(tree);
    ASSERT_EQ(files.size(), reference.size());
    std::size_t differing = 0;
    for (const auto& [name, text] : reference) {
        const auto it = files.find(name);
        ASSERT_NE(it, files.end()) << name;
        if (it->second == text) continue;
        const std::string code = fs::path(name).stem().string();
        bool allowed = mayDifferIn.contains(code);
        for (const std::string& line : changedLines(text, it->second))
            allowed = allowed && mayDiffer.contains(line.substr(0, 10));
        EXPECT_TRUE(allowed) << name << " differs: " << changedLines(text, it->second)[0];
        ++differing;
    }
    EXPECT_LE(differing, mayDifferIn.size());
    fs::remove_all(tree);
}

}  // namespace

// One test, so that the reference is read and published once.
TEST(ImportedMarket, EveryLayoutGivesTheMarketAndTheTreeOurOwnLayoutGives) {
    const fs::path market = test::sharedMarketDir();
    if (market.empty()) GTEST_SKIP() << "no shared market data";
    test::TempDataDir dir;
    const fs::path daily = market / "daily", list = market / "stocklist.csv";
    const std::vector<StockSeries> ours = readFrom(daily, list, MarketLayout::Own);
    const auto reference = treeFiles(publish(ours, dir.path() / "ours"));
    fs::remove_all(dir.path() / "ours");

    {
        SCOPED_TRACE("day files");
        const auto written = test::writeDayFiles(daily, list, dir.path() / "tdx");
        std::set<std::string> dates, codes = {"510050", "510300", "399001", "399006"};
        for (const std::string& day : written.cappedDays) {
            codes.insert(day.substr(0, 6));
            dates.insert(day.substr(7));
        }
        EXPECT_EQ(written.cappedDays.size(), 3u);  // 600157 twice, 600221 once
        auto read = readFrom(written.data, written.stockList, MarketLayout::DayFiles);
        expectSameSeries(ours, read, {written.cappedDays.begin(), written.cappedDays.end()});
        expectSameTree(reference, publish(std::move(read), dir.path() / "tree"), dates, codes);
        fs::remove_all(dir.path() / "tdx");
    }
    {
        SCOPED_TRACE("tushare, one file");
        const auto written = test::writeTushare(daily, list, dir.path() / "ts");
        auto read = readFrom(written.data, written.stockList, MarketLayout::Tushare);
        expectSameSeries(ours, read);
        expectSameTree(reference, publish(std::move(read), dir.path() / "tree"));
        fs::remove_all(dir.path() / "ts");
    }
    {
        SCOPED_TRACE("akshare");
        const auto written = test::writeAkshare(daily, list, dir.path() / "ak");
        auto read = readFrom(written.data, written.stockList, MarketLayout::Akshare);
        expectSameSeries(ours, read);
        expectSameTree(reference, publish(std::move(read), dir.path() / "tree"));
        fs::remove_all(dir.path() / "ak");
    }
    {
        SCOPED_TRACE("baostock");
        const auto written = test::writeBaostock(daily, list, dir.path() / "bs");
        EXPECT_GT(written.suspendedLines, 1000u);
        auto read = readFrom(written.data, written.stockList, MarketLayout::Baostock);
        expectSameSeries(ours, read);
        expectSameTree(reference, publish(std::move(read), dir.path() / "tree"));
    }
}
