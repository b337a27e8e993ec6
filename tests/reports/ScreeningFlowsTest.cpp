// The screening loops, the market information flow and the ranking run
// against a local data server with crafted records and lists.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <thread>

#include "LocalHttpServer.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/RunLoop.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/core/Workspace.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/StockKeys.h"
#include "orvane/reports/GainsRankingRun.h"
#include "orvane/reports/MarketInformation.h"
#include "orvane/reports/MarketReport.h"
#include "orvane/reports/MarketReportGuard.h"
#include "orvane/reports/StockScreening.h"
#include "orvane/stocklib/QXStockLib.h"

using namespace orvane;
namespace fs = std::filesystem;
using namespace std::chrono_literals;
namespace k = orvane::keys;

namespace {

// A market gain list: header, then one line a stock (`count` stocks from
// `first`, each with the given change), final line break.
std::string gainList(int first, int count, double change) {
    std::string text = "rank,code,name,yesclose,open,close,change\n";
    for (int i = 0; i < count; ++i)
        text += format("%d,%06d,股票%d,10.00,10.00,%.2f,%.2f\n", i + 1, first + i, i,
                       10.0 * (1 + change / 100), change);
    return text;
}

/// No download, staged set or parsed intermediate of a run stays in the folder.
void expectNoLeftovers(const fs::path& gains) {
    for (const auto& entry : fs::directory_iterator(gains)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find("incoming"), std::string::npos) << name;
        EXPECT_EQ(name.find("staging"), std::string::npos) << name;
        EXPECT_FALSE(name.starts_with("todayStr_Sort") && name.ends_with(".plist")) << name;
    }
}

/// Records what the library hands to the main window, and from which thread.
class RecordingDelegate final : public QXStockLibUpdateDelegate, public ProgressPanel {
  public:
    void updateGainsTitleDataDelegate(int total, int current, const std::string& code) override {
        titles += format("%d/%d %s;", current, total, code.c_str());
    }
    void updateStockTrendDictDelegate(const StockRecord& record) override {
        shown.push_back(record.code);
        EXPECT_TRUE(MainThreadDispatcher::shared()->isMainThread());
    }
    void setStatusBarMarketReportTextDelegate(const StyledText& text, int) override {
        status.push_back(text.text);
    }
    void setActivatePlateReportDelegate(const std::string& text) override { plates = text; }
    void processUISeletedStockDelegate(const std::vector<StockRecord>& list) override {
        bought = list.size();
    }
    void closeProgressPanel() override { ++panelClosed; }

    std::string titles;
    std::vector<std::string> shown, status;
    std::string plates;
    std::size_t bought = 0;
    int panelClosed = 0;
};

struct RecordingWorkspace : Workspace {
    bool openFile(const fs::path& path) override { return opened.push_back(path), true; }
    bool openURL(const std::string&) override { return false; }
    std::vector<fs::path> opened;
};

class ScreeningFlows : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "constdata/plate");
        server.server().Get(R"(/base/const/hisdata/(retdata|sortdata)/([^/]+))",
                            [this](const auto& req, auto& res) {
                                auto it = files.find(req.matches[2].str());
                                res.status = it == files.end() ? 404 : 200;
                                res.set_content(res.status == 404 ? "<html>404</html>" : it->second,
                                                "text/plain");
                            });
        server.start();
        MarketServers::install(
            std::make_shared<MarketServers>(server.url("/base"), server.url("/")));
        lib.setDelegate(&delegate);
        ProgressPanel::install(std::shared_ptr<ProgressPanel>(&delegate, [](ProgressPanel*) {}));
    }
    void TearDown() override {
        ProgressPanel::install(nullptr);
        lib.setDelegate(nullptr);
        MarketServers::install(nullptr);
    }
    // A result file; today's keys first, as the server writes them.
    void record(const std::string& code, int trend, int score, double gain5, double gain10,
                int beforeTrend = 0) {
        files[code + ".txt"] = format(
            "curStockCode=%s\nOneTrade_date=2025-09-03\nOneTrade_openPrice=10.00\n"
            "yesterdayClosePrice=9.90\nOneTrade_closePrice=10.20\nOneTrade_volumeData=5000\n"
            "trend=%d\nstockScore=%d\ngains5Days=%.2f\ngains10Days=%.2f\n"
            "beforeTrade_date=2025-08-27\nbefore_trend=%d\n",
            code.c_str(), trend, score, gain5, gain10, beforeTrend);
    }
    void group(const std::string& name, const std::string& lines) {
        std::ofstream(dir.path() / "constdata/plate" / (name + ".txt")) << lines;
    }
    static Value entry(const std::string& code) {
        return Dictionary{{k::STOCK_Code, code}, {k::STOCK_SC_Name, "名" + code}};
    }

    test::TempDataDir dir;
    test::LocalHttpServer server;
    std::map<std::string, std::string> files;  // served below retdata/ and sortdata/
    QXStockLib& lib = QXStockLib::defQXStockLib();
    RecordingDelegate delegate;
};

}  // namespace

TEST_F(ScreeningFlows, OwnStockScreeningShowsFetchedStocksOnTheMainThreadAndPicks) {
    group("银行", "600004\n600005\n");
    record("600001", 2, 200, 9, 9);
    record("600003", 1000, 200, 9, 0.99);  // 10-day gain below 1: skipped
    record("600004", 1, 120, 1, 3.01);
    record("600005", 1000, 130, 12, 15);
    const Array list{entry("600001"), entry("abc"),    entry("600002"),
                     entry("600003"), entry("600004"), entry("600005")};
    ScopedRunLoop loop;
    std::vector<StockRecord> picked;
    bool done = false;
    std::thread worker([&] {
        picked = filterMyStockArray(lib, list, true, 120);
        postToMainThread([&] { done = true; });
    });
    loop.loop().runUntil([&] { return done; }, 30s);
    worker.join();

    EXPECT_EQ(delegate.titles, "1/6 600001;3/6 600002;4/6 600003;5/6 600004;6/6 600005;");
    EXPECT_EQ(delegate.shown, (std::vector<std::string>{"600001", "600004", "600005"}));
    // The order of the picks is the picking rules' test.
    ASSERT_EQ(picked.size(), 2u);
    EXPECT_EQ(picked[1].plateGroup, "银行");
}

TEST_F(ScreeningFlows, SectorScreeningCountsHighScorersAndLastWeeksRisers) {
    group("测试", "600001\nabc\n\n600002\n600003\n600009\n");
    record("600001", 1, 110, 2, 3, 1);
    record("600002", 2, 90, 2, 3, 2);
    record("600003", 3, 175, 8.21, 9, 1000);
    ScopedRunLoop loop;  // the caller is the main thread: updates run in place
    std::int32_t high = -1;
    std::vector<StockRecord> risers;
    const auto picked = processFilterStockFromSubPlateGroup(lib, "测试", high, risers);
    EXPECT_EQ(high, 2);
    ASSERT_EQ(picked.size(), 2u);
    EXPECT_EQ(picked[0].trend, 1);
    EXPECT_FALSE(picked[1].trend);  // the short form
    ASSERT_EQ(risers.size(), 2u);
    EXPECT_EQ(risers[1].trend, 1000);
}

// 地产 falls wholly, and a held stock sits in it.
TEST_F(ScreeningFlows, MarketInformationReportsOnceAllFourListsArrived) {
    group("银行", "600000\n600001\n600002\n600003\n");
    group("地产", "600010\n600011\n");
    std::ofstream(getHoldStockPath() / "600011.txt") << "x";
    files["shsortup_new.txt"] = *utf8ToGb18030(gainList(600000, 3, 5.0));
    files["szsortup_new.txt"] = gainList(1, 2, 3.0);
    files["shsortdown_new.txt"] = *utf8ToGb18030(gainList(600009, 3, -4.0));
    std::vector<std::string> notices;
    ScopedObserver observer(
        NotificationBus::shared(), notifications::Notifiation_Stock_rasieDown,
        [&](const Notification& n) { notices.push_back(n.userInfo.at(StockSellSignal).string()); });
    ScopedRunLoop loop;
    // The Shenzhen falling list is garbage and the score lists are missing (a
    // 404 page): the last good run's lists stay as they were.
    files["szsortdown_new.txt"] = "<html>busy</html>\n\x01\x02,,\n";
    const fs::path gains = getGainsPath();
    const fs::path lastRising = marketGainListDownload(kMarketGainLists[0]);
    const fs::path lastScores = gains / "todayStr_score_Score.plist";
    writeFileAtomically(lastRising, "yesterday");
    writeFileAtomically(lastScores, "yesterday");
    std::shared_ptr<MarketInfoRun> run = handMarketInfoProcess(lib);
    for (int i = 0; i < 3000 && !run->finished(); ++i) loop.loop().runOnce(10ms);
    EXPECT_FALSE(run->reported());
    EXPECT_FALSE(run->failedHere());
    EXPECT_EQ(delegate.panelClosed, 1);
    EXPECT_TRUE(delegate.status.empty());
    EXPECT_EQ(readFile(lastRising), "yesterday");
    EXPECT_EQ(readFile(lastScores), "yesterday");
    EXPECT_EQ(run->failures(),
              (std::vector<std::string>{"szsortdown_new.txt: the answer is not a gain list",
                                        "score.txt: the data server answered HTTP 404",
                                        "score_doublePao.txt: the data server answered HTTP 404"}));
    expectNoLeftovers(gains);

    // Every list arrives, but one of the day's files cannot be replaced (a
    // folder stands in its place): no list of this run lands, the gain lists
    // and the score lists stay the last good run's, and the disk is named.
    files["szsortdown_new.txt"] = gainList(2, 0, -3.0);
    files["score.txt"] = "code,score,modeB,type\n600000,200,1,4\n600001,100,0,0\n";
    files["score_doublePao.txt"] = "code,score\n600000,150\n";
    fs::create_directories(gains / "todayStr_score_ModeB.plist" / "x");
    run = handMarketInfoProcess(lib);
    for (int i = 0; i < 3000 && !run->finished(); ++i) loop.loop().runOnce(10ms);
    EXPECT_FALSE(run->reported());
    EXPECT_TRUE(run->failedHere());
    ASSERT_EQ(run->failures().size(), 1u);
    EXPECT_EQ(run->failures()[0].rfind("cannot replace " + (gains / "todayStr_score").string(), 0),
              0u)
        << run->failures()[0];
    EXPECT_EQ(readFile(lastRising), "yesterday");
    EXPECT_EQ(readFile(lastScores), "yesterday");
    EXPECT_FALSE(fs::exists(gains / "todayStr_score.txt"));
    EXPECT_FALSE(fs::exists(gains / "todayStr.txt"));
    expectNoLeftovers(gains);
    fs::remove_all(gains / "todayStr_score_ModeB.plist");

    // A worker runs the flow under the guard, waiting for it, while the main
    // thread serves its handlers.
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        MarketReportGuard::shared().runUnlessBusy([&] {
            run = handMarketInfoProcess(lib);
            finished = run->waitUntilFinished(30s);
        });
    });
    for (int i = 0; i < 3000 && !finished; ++i) loop.loop().runOnce(10ms);
    worker.join();
    EXPECT_TRUE(run->reported());
    ASSERT_EQ(delegate.status.size(), 2u);
    EXPECT_NE(delegate.status[1].find(format(
                  "1个板块有效上涨,1个板块下跌; 上涨 5只 下跌 3只 涨跌比例 1.67:1 ;市场分数:%d ;",
                  run->markScore())),
              std::string::npos);
    EXPECT_EQ(delegate.plates,
              *readFile(gains / "todayStr.txt") + *readFile(gains / "todayStr_Down.txt"));
    EXPECT_NE(readFile(lastRising), "yesterday");
    EXPECT_EQ(readPropertyListArray(lastScores).size(), 1u);
    expectNoLeftovers(gains);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("600011"), std::string::npos);
    EXPECT_EQ(delegate.panelClosed, 3);
}

TEST_F(ScreeningFlows, TopGainersTakeTheFirstOfEachExchange) {
    const fs::path gains = getGainsPath();
    writeFileAtomically(gains / "todayStr_SortUp_SH.txt", *utf8ToGb18030(gainList(600000, 120, 5)));
    writeFileAtomically(gains / "todayStr_SortUp_SZ.txt", gainList(1, 80, 5));
    const Array top = getFilterStockFromHuShenGainsData(50).stocks;
    ASSERT_EQ(top.size(), 100u);
    EXPECT_EQ(stringFor(top[0].dictionary(), k::STOCK_SC_Name), "股票0");
    EXPECT_EQ(stringFor(top[50].dictionary(), k::STOCK_Code), "000001");
}

TEST_F(ScreeningFlows, OneRankingRunAtATimeWritesHandsOverAndOpensTodaysReport) {
    test::FixedNow now(2025, 9, 3, 15, 30);
    auto workspace = std::make_shared<RecordingWorkspace>();
    Workspace::install(workspace);
    record("600005", 1000, 130, 12, 15);
    ScopedRunLoop loop;
    ASSERT_TRUE(processFilterStockFromHuShenGainsData(lib, Array{entry("600005")}));
    EXPECT_FALSE(processFilterStockFromHuShenGainsData(lib, Array{entry("600005")}));
    for (int i = 0; i < 3000 && isGainsRankingRunning(); ++i) loop.loop().runOnce(10ms);
    Workspace::install(nullptr);
    ASSERT_FALSE(isGainsRankingRunning());
    EXPECT_EQ(delegate.bought, 1u);  // 5-day 12 and 10-day 15 are in the buy range
    EXPECT_EQ(workspace->opened, std::vector<fs::path>{getGainsPath() / "2025-09-03.txt"});
}

TEST_F(ScreeningFlows, AStoppedRankingRunWritesNothingAndSaysItEnded) {
    test::FixedNow now(2025, 9, 3, 15, 30);
    record("600005", 1000, 130, 12, 15);
    std::atomic<bool> ended{false};
    ScopedRunLoop loop;
    ASSERT_TRUE(processFilterStockFromHuShenGainsData(
        lib, Array{entry("600005")}, [] { return true; },
        [&](const GainsReportOutcome&) { ended = true; }));
    for (int i = 0; i < 3000 && !ended; ++i) loop.loop().runOnce(10ms);
    ASSERT_TRUE(ended);
    EXPECT_FALSE(fs::exists(getGainsPath() / "2025-09-03_5GainsSort.plist"));
    EXPECT_EQ(delegate.bought, 0u);
    // Nothing to screen: no report, not an empty one.
    const GainsReportOutcome nothing = phraseTodayGainsData(lib, {});
    EXPECT_TRUE(nothing.report.empty());
    EXPECT_FALSE(nothing.failure);
    EXPECT_FALSE(fs::exists(getGainsPath() / "2025-09-03.txt"));
}
