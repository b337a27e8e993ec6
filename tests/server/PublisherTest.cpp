#include "orvane/publisher/Publisher.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <set>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/StagingFolder.h"
#include "orvane/core/WriteFaults.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/TradingCalendar.h"
#include "orvane/publisher/DayVerdicts.h"
#include "orvane/publisher/DemoMarket.h"
#include "orvane/publisher/MarketImport.h"
#include "orvane/publisher/SyntheticMarket.h"

using namespace orvane;
using namespace orvane::server;
namespace fs = std::filesystem;

static void expectNoStagingFolderIn(const fs::path& folder) {
    for (const auto& e : fs::directory_iterator(folder))
        EXPECT_EQ(e.path().filename().string().find(".staging"), std::string::npos);
}

TEST(Publisher, PublishesAWholeMarketAndSwapsTheTree) {
    test::TempDataDir dir;
    const fs::path tree = dir.path() / "tree";
    std::size_t progressCalls = 0;
    const PublishOptions options{.daysBack = 5,
                                 .jobs = 2,
                                 .version = {2025, 12, 5, 16, 0, 0},
                                 .progress = [&](std::size_t, std::size_t) { ++progressCalls; }};
    const auto market = makeSyntheticMarket(16, 5, *parseDate("2025-12-05"), 320);
    // A killed publish's staging folder goes; a running one's stays.
    const fs::path killed = stagingFolderFor(tree, 999999999),
                   running = stagingFolderFor(tree, ::getppid());
    for (const fs::path& folder : {killed, running}) fs::create_directories(folder / "const");
    PublishReport report = publishMarket(market, tree, options);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.staleStagingRemoved, std::vector<fs::path>{killed});
    EXPECT_TRUE(fs::exists(running) && !fs::exists(killed));
    fs::remove_all(running);
    EXPECT_EQ(report.stocks, 16u + 4u);  // with the four composite indexes
    EXPECT_EQ(progressCalls, report.stocks);
    // What the library reads back through the server is the end-to-end test's.
    // The indexes are no stocks: the score list holds the 16 stocks only, and
    // no gain list names an index.
    EXPECT_EQ(parseScoreRecords(*readFile(tree / "const/hisdata/sortdata/score.txt")).size(), 16u);
    for (const char* list :
         {"shsortup_new.txt", "shsortdown_new.txt", "szsortup_new.txt", "szsortdown_new.txt"})
        for (const char* index : {"399001", "399006", "510050", "510300"})
            EXPECT_EQ(readFile(tree / "const/hisdata/sortdata" / list)->find(index),
                      std::string::npos)
                << list << " " << index;
    EXPECT_EQ(*readFile(tree / "const/updateconfigfile.txt"), "constdata=2025-12-05 16:00:00");
    EXPECT_NE(readFile(tree / "const/help/doublepao.html")->find("<h2>双炮形态</h2>"),
              std::string::npos);

    // Publishing again replaces the whole tree, leaving no staging folder.
    const fs::path first = tree / ("const/hisdata/retdata/" + market[0].listing.code + ".txt");
    EXPECT_TRUE(fs::exists(first));
    ASSERT_TRUE(publishMarket({market.begin() + 1, market.end()}, tree, options).ok);
    EXPECT_FALSE(fs::exists(first));
    expectNoStagingFolderIn(dir.path());
}

TEST(Publisher, AStoppedPublishLeavesTheTreeAsItWasAndNoStagingFolder) {
    test::TempDataDir dir;
    const fs::path tree = dir.path() / "tree";
    const auto market = makeSyntheticMarket(12, 5, *parseDate("2025-12-05"), 200);
    ASSERT_TRUE(publishMarket(market, tree, {.daysBack = 2, .jobs = 2}).ok);
    const fs::path first = tree / ("const/hisdata/retdata/" + market[0].listing.code + ".txt");
    ASSERT_TRUE(fs::exists(first));

    std::stop_source stop;
    std::size_t started = 0;
    const PublishOptions options{.daysBack = 2,
                                 .jobs = 1,
                                 .progress =
                                     [&](std::size_t, std::size_t) {
                                         ++started;
                                         stop.request_stop();
                                     },
                                 .stop = stop.get_token()};
    const PublishReport report = publishMarket({market.begin() + 1, market.end()}, tree, options);
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(started, 1u);  // no stock starts once stopped
    EXPECT_TRUE(fs::exists(first));
    expectNoStagingFolderIn(dir.path());
}

// The histories as traded are written while the prices are adjusted, before
// any stock's files: a publish stopped by then writes none of them.
TEST(Publisher, AStoppedAdjustedPublishWritesNoTradedHistory) {
    test::TempDataDir dir;
    const auto market = makeSyntheticMarket(12, 5, *parseDate("2025-12-05"), 200);
    std::stop_source stop;
    stop.request_stop();
    setWriteFaultPlan(std::nullopt);  // counts from here
    const PublishReport report = publishMarket(
        market, dir.path() / "tree",
        {.daysBack = 2, .jobs = 1, .adjustForward = AdjustmentSources{}, .stop = stop.get_token()});
    EXPECT_FALSE(report.ok);
    EXPECT_LT(writeOperationCount(), static_cast<long>(market.size()));
    expectNoStagingFolderIn(dir.path());
}

TEST(MarketImport, BadFilesAreNamedAndSkippedCompositeIndexMovesByTheMembersMeanMove) {
    test::TempDataDir dir;
    const fs::path daily = dir.path() / "daily";
    fs::create_directory(daily);
    const std::string header = "date,open,close,high,low,volume\n";
    std::ofstream(daily / "600000.csv")
        << header << "2025-09-01,1,1,1,1,100\n2025-09-02,1,1,1,1,1\n";
    std::ofstream(daily / "600001.csv") << header << "2025-09-01,1,x,1,1,100\n";
    std::ofstream(daily / "600002.csv");
    std::ofstream(daily / "notes.csv") << "x";
    std::ofstream(dir.path() / "list.csv")
        << "ts_code,symbol,name,area,industry\n"
           "600000.SH,600000,浦发银行,上海,银行\n"
           "600000.SH,600000,again,上海,银行\n"
           "000001.SZ,000001,平安\x1f银行\xe2\x80\xa8,深圳,银行\n"
           "X,12,bad,,\n";
    std::vector<std::string> problems;
    auto note = [&](const std::string& p) { problems.push_back(p); };
    const auto listing = readStockList(dir.path() / "list.csv", note);
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[1].name, "平安银行");  // the code table would split it at the separators
    const auto series = readDailyFolder(daily, listing, note);
    ASSERT_EQ(series.size(), 1u);
    EXPECT_EQ(series[0].listing.name, "浦发银行");  // the first of a doubled listing
    EXPECT_EQ(series[0].bars.size(), 2u);
    ASSERT_EQ(problems.size(), 6u);
    EXPECT_NE(problems[1].find("line 4: control characters left out of 000001's fields"),
              std::string::npos);
    EXPECT_NE(problems[3].find("600001.csv: line 2: the close \"x\" is not a number; skipped"),
              std::string::npos);

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

TEST(SyntheticMarket, EveryVerdictOccursOnTheLastDay) {
    const auto market = makeSyntheticMarket(48, 7, *parseDate("2025-12-05"));
    std::set<int> trends;
    std::set<std::string> codes;
    int modelB = 0;
    for (const StockSeries& s : market) {
        codes.insert(s.listing.code);
        EXPECT_EQ(s.bars.back().date, "2025-12-05");
        for (const DailyBar& bar : s.bars)
            ASSERT_TRUE(isTradingDay(*parseDate(bar.date))) << bar.date;
        const auto v = computeDayVerdicts(s.listing.code, historyTextOf(s.bars), 0);
        ASSERT_TRUE(v[0]) << s.listing.code;
        trends.insert(v[0]->result.trend);
        modelB += v[0]->result.modeB;
    }
    EXPECT_EQ(codes.size(), 48u);
    EXPECT_EQ(trends, (std::set<int>{-1, 0, 1, 2, 3, 1000, 1001}));
    EXPECT_GT(modelB, 0);
}

TEST(SyntheticMarket, TradesOnTheExchangesDaysOnly) {
    const auto market = makeSyntheticMarket(8, 7, *parseDate("2026-10-09"), 120);
    for (const StockSeries& s : market) {
        std::set<std::string> dates;
        for (const DailyBar& bar : s.bars) dates.insert(bar.date);
        EXPECT_EQ(dates.size(), 120u);
        for (const char* closed : {"2026-10-06", "2026-10-01", "2026-05-01", "2026-06-19"})
            EXPECT_FALSE(dates.contains(closed)) << s.listing.code << " " << closed;
        EXPECT_TRUE(dates.contains("2026-09-30"));
        EXPECT_EQ(s.bars.back().date, "2026-10-09");
    }
}

TEST(DemoMarket, TodayMovesWithTheCalendar) {
    test::TempDataDir dir;
    const fs::path tree = dir.path() / "demo";
    {
        test::FixedNow wednesday(2026, 12, 2, 10);
        ASSERT_TRUE(ensureDemoTree(tree));
        EXPECT_EQ(formatDate(*demoTreeLastDay(tree)), "2026-12-01");
        const auto version = readFile(tree / "const/updateconfigfile.txt");
        ASSERT_TRUE(ensureDemoTree(tree));  // the same day: left as it is
        EXPECT_EQ(readFile(tree / "const/updateconfigfile.txt"), version);
        // The same day laid out by an older version (quote copies in lots):
        // published again.
        ASSERT_TRUE(writeFileAtomically(tree / kDemoTreeLayoutFile, "quote copies: lots\n"));
        ASSERT_TRUE(writeFileAtomically(tree / "const/left-over.txt", "x"));
        ASSERT_TRUE(ensureDemoTree(tree));
        EXPECT_FALSE(fs::exists(tree / "const/left-over.txt"));
        EXPECT_EQ(readFile(tree / kDemoTreeLayoutFile), std::string(kDemoTreeLayout));
    }
    test::FixedNow monday(2026, 12, 7, 10);
    ASSERT_TRUE(ensureDemoTree(tree));
    EXPECT_EQ(formatDate(*demoTreeLastDay(tree)), "2026-12-04");
}

// A demo tree published during the National Day holiday ends on the last
// trading day before it, and stays as it is through the holiday.
TEST(DemoMarket, LastDaySkipsTheExchangesHolidays) {
    test::TempDataDir dir;
    const fs::path tree = dir.path() / "demo";
    const fs::path version = tree / "const/updateconfigfile.txt";
    fs::create_directories(version.parent_path());
    ASSERT_TRUE(writeFileAtomically(version, "constdata=2026-10-06 10:00:00"));
    ASSERT_TRUE(writeFileAtomically(tree / kDemoTreeLayoutFile, kDemoTreeLayout));
    EXPECT_EQ(formatDate(*demoTreeLastDay(tree)), "2026-09-30");
    test::FixedNow afterTheHoliday(2026, 10, 8, 9);
    ASSERT_TRUE(ensureDemoTree(tree));  // nothing to publish: no trading day has passed
    EXPECT_EQ(readFile(version), "constdata=2026-10-06 10:00:00");
}
