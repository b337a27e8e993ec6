#include "orvane/publisher/Publisher.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/ReferenceArchive.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/publisher/MarketImport.h"
#include "orvane/publisher/SyntheticMarket.h"

using namespace orvane;
using namespace orvane::server;
namespace fs = std::filesystem;

TEST(Publisher, PublishesAWholeMarketAndSwapsTheTree) {
    test::TempDataDir dir;
    const fs::path tree = dir.path() / "tree";
    PublishOptions options;
    options.daysBack = 5;
    options.jobs = 2;
    options.version = LocalDateTime{2025, 12, 5, 16, 0, 0};
    std::size_t progressCalls = 0;
    options.progress = [&](std::size_t, std::size_t) { ++progressCalls; };
    const auto market = makeSyntheticMarket(16, 5, *parseDate("2025-12-05"), 320);
    PublishReport report = publishMarket(market, tree, options);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.stocks, 16u + 4u);  // with the four composite indexes
    EXPECT_EQ(progressCalls, report.stocks);

    // What the library reads back through the server is the end-to-end
    // test's; here what it does not read.
    const std::string code = market[0].listing.code;
    for (const std::string& published : {code, std::string("399001")})
        EXPECT_TRUE(fs::exists(tree / ("const/hisdata/retdata/" + published + ".txt")));
    EXPECT_EQ(parseScoreRecords(*readFile(tree / "const/hisdata/sortdata/score.txt")).size(), 20u);
    EXPECT_EQ(*readFile(tree / "const/updateconfigfile.txt"), "constdata=2025-12-05 16:00:00");
    fs::create_directory(dir.path() / "data");
    const auto installed =
        installReferenceArchive(tree / "const/constdata.zip", dir.path() / "data");
    EXPECT_TRUE(installed.installed) << installed.reason;

    // Publishing again replaces the whole tree: files of stocks no longer
    // published are gone.
    PublishReport again = publishMarket({market.begin() + 1, market.end()}, tree, options);
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_FALSE(fs::exists(tree / ("const/hisdata/retdata/" + code + ".txt")));
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".staging"), std::string::npos);
}

TEST(MarketImport, BadFilesAreNamedAndSkipped) {
    test::TempDataDir dir;
    fs::create_directory(dir.path() / "daily");
    std::ofstream(dir.path() / "daily" / "600000.csv")
        << "date,open,close,high,low,volume\n2025-09-01,1,1,1,1,100\n2025-09-02,1,1.1,1.1,1,100\n";
    std::ofstream(dir.path() / "daily" / "600001.csv")
        << "date,open,close,high,low,volume\n2025-09-01,1,x,1,1,100\n";
    std::ofstream(dir.path() / "daily" / "600002.csv");
    std::ofstream(dir.path() / "daily" / "notes.csv") << "x";
    std::ofstream(dir.path() / "list.csv")
        << "ts_code,symbol,name,area,industry\n600000.SH,600000,浦发银行,上海,银行\n"
           "600000.SH,600000,again,上海,银行\nX,12,bad,,\n";
    std::vector<std::string> problems;
    auto note = [&](const std::string& p) { problems.push_back(p); };
    const auto listing = readStockList(dir.path() / "list.csv", note);
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing[0].industry, "银行");
    const auto series = readDailyFolder(dir.path() / "daily", listing, note);
    ASSERT_EQ(series.size(), 1u);
    EXPECT_EQ(series[0].listing.name, "浦发银行");
    EXPECT_EQ(series[0].bars.size(), 2u);
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_NE(problems[2].find("600001.csv: line 2: the close \"x\" is not a number; skipped"),
              std::string::npos);
    EXPECT_NE(problems[3].find("600002.csv: the file is empty; skipped"), std::string::npos);
}

TEST(MarketImport, CompositeIndexMovesByTheMembersMeanMove) {
    std::vector<StockSeries> stocks(2);
    stocks[0].listing = {"000001", "a", "", ""};
    stocks[0].bars = {{"2025-09-01", 10, 10, 10, 10, 100}, {"2025-09-02", 10, 11, 10, 11, 100}};
    stocks[1].listing = {"000002", "b", "", ""};
    stocks[1].bars = {{"2025-09-01", 20, 20, 20, 20, 50}, {"2025-09-02", 20, 20, 19, 19, 50}};
    const auto composites = chooseComposites(stocks);
    ASSERT_EQ(composites.size(), 2u);  // 399001 and 510300; no growth board, no Shanghai stocks
    const StockSeries index = compositeSeries(composites[0], stocks);
    ASSERT_EQ(index.bars.size(), 2u);
    EXPECT_DOUBLE_EQ(index.bars[0].close, 1000.0);
    EXPECT_DOUBLE_EQ(index.bars[1].close, 1000.0 * (1.0 + (0.1 - 0.05) / 2));
    EXPECT_DOUBLE_EQ(index.bars[1].volume, 150.0);
}
