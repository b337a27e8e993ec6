#include "orvane/stocklib/QXStockLib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "HistoryBuilder.h"
#include "LocalHttpServer.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/RunLoop.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/RequestQueue.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
using namespace std::chrono_literals;
namespace k = orvane::keys;

namespace {

const std::string kResult =
    "curStockCode=600000\nOneTrade_date=2025-09-03\nyesterdayClosePrice=10.00\n"
    "OneTrade_closePrice=10.50\nOneTrade_volumeData=120000\nstockScore=135\n";

std::string quoteLine(const std::string& code) {
    return "var hq_str_" + code + "=\"浦发银行,12.00,11.90,12.10,12.20,11.80" +
           ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2025-09-03,15:00:00,00\";\n";
}

struct Progress : QXStockLibUpdateDelegate {
    void updateHisdatProgressdDelegate(int done, int total) override {
        ++inside;
        std::this_thread::sleep_for(1ms);
        calls.emplace_back(done, total);
        --inside;
    }
    std::vector<std::pair<int, int>> calls;
    std::atomic<int> inside{0};
};

// Result files below retdata/, a quote copy below sinadata/ and a history below
// stockdata/; 600001's result breaks off (a transfer failure).
class QXStockLibTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server.server().Get(".*", [this](const auto& req, auto& res) {
            if (req.path == "/quote")
                return res.set_content("\xC6\xD6" + quoteLine(req.get_param_value("list")),
                                       "text/plain");
            const std::string path = req.path.substr(std::strlen("/base/const/hisdata/"));
            historyHits += path.starts_with("stockdata/");
            if (path == "retdata/600001.txt")
                res.set_content_provider(1000, "text/plain",
                                         [](size_t, size_t, httplib::DataSink&) { return false; });
            else if (auto it = files.find(path); it != files.end())
                res.set_content(it->second, "text/plain");
            else
                res.status = 404;
        });
        server.start();
        MarketServers::install(
            std::make_shared<MarketServers>(server.url("/base"), server.url("/quote")));
        lib.setDelegate(&progress);
    }

    test::TempDataDir dir;
    test::LocalHttpServer server;
    Progress progress;
    std::map<std::string, std::string> files{
        {"retdata/600000.txt", kResult},
        {"retdata/600000/1.txt", kResult},
        {"retdata/600000/3.txt", kResult},
        {"sinadata/600001.txt", quoteLine("sh600001")},
        {"stockdata/600001.txt", test::HistoryBuilder().ramp(40, 12.0, -0.05).text()}};
    QXStockLib lib;
    std::atomic<int> historyHits{0};
};

}  // namespace

TEST_F(QXStockLibTest, ServerResultsElseTheLocalComputationOnATransferFailure) {
    EXPECT_EQ(lib.getLastPassdayDataInfoFormServer("600000", 150).size(), 3u);  // today, 1, 3
    EXPECT_EQ(progress.calls.size(), 98u);  // capped at 98 days, progress after each
    EXPECT_EQ(progress.calls.back(), std::make_pair(98, 98));
    EXPECT_EQ(lib.getOneStockDataInfoFormServer("600000")->score, 135);
    // A 404 page is an answer (no local computation); non-codes never reach the server.
    EXPECT_FALSE(lib.getOneStockDataInfoFormServer("600002"));
    EXPECT_FALSE(lib.getOneStockDataInfoFormServer("../../etc"));
    EXPECT_EQ(historyHits, 0);
    auto record = lib.getOneStockDataInfoFormServer("600001");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->closePrice, "12.10");  // from the quote copy
    EXPECT_TRUE(record->score);              // the engine's score of the stock
    ASSERT_TRUE(record->before5Days);
    EXPECT_EQ(record->before5Days->date, "2025-08-29");
}

TEST_F(QXStockLibTest, EarlierDaysStopBetweenDaysWhenAsked) {
    Progress progress;
    lib.setDelegate(&progress);
    std::stop_source stop;
    std::vector<std::pair<int, int>> heard;
    const auto records = lib.getLastPassdayDataInfoFormServer("600000", 66, stop.get_token(),
                                                              [&](int done, int total) {
                                                                  heard.emplace_back(done, total);
                                                                  if (done == 3)
                                                                      stop.request_stop();
                                                              });
    EXPECT_EQ(records.size(), 3u);  // today, 1, 3: nothing after the stop
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{1, 66}, {2, 66}, {3, 66}}));
    EXPECT_EQ(progress.calls, heard);  // the delegate hears the same days
    // Stopped before the start: today's record only, no day fetched.
    EXPECT_EQ(lib.getLastPassdayDataInfoFormServer("600000", 66, stop.get_token(), {}).size(), 1u);
    EXPECT_EQ(progress.calls.size(), 3u);
}

TEST_F(QXStockLibTest, UnreachableServerGivesThePlaceholderThenNothingAfterAPause) {
    server.stop();
    EXPECT_EQ(lib.getTodayStockDict("600000")->date, "1970-01-01");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(lib.getOneStockDataInfoFormServer("600000"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(QXStockLibTest, UnsettingTheDelegateWaitsForTheRunningCall) {
    // The worker keeps calling, so the main thread surely meets a call in progress.
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop) lib.withDelegate([](auto& d) { d.updateHisdatProgressdDelegate(1, 1); });
    });
    while (progress.inside == 0) std::this_thread::yield();
    lib.setDelegate(nullptr);
    EXPECT_EQ(progress.inside, 0);
    stop = true;
    worker.join();
}

TEST_F(QXStockLibTest, OwnStockQueueRefreshesTheQuoteFilesOfValidCodes) {
    ScopedRunLoop loop;
    const auto hold = getHoldStockPath();
    for (auto name : {"600000.txt", "000001.txt", "notacode.txt", ".DS_Store"})
        writeFileAtomically(hold / name, "old");
    auto queue = lib.handDownloadMyStockProcess();
    ASSERT_TRUE(loop.loop().runUntil([&] { return queue->requestsCount() == 0; }, 10s));
    EXPECT_TRUE(readFile(hold / "600000.txt")->starts_with("\xC6\xD6var hq_str_sh600000="));
    EXPECT_NE(readFile(hold / "000001.txt")->find("hq_str_sz000001"), std::string::npos);
    EXPECT_EQ(readFile(hold / "notacode.txt"), "old");
}
