#include "orvane/stocklib/QXStockLib.h"

#include <gtest/gtest.h>

#include "LocalHttpServer.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/RunLoop.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/RequestQueue.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
using namespace std::chrono_literals;
namespace k = orvane::keys;

namespace {

std::string resultFile(const std::string& code) {
    return "curStockCode=" + code +
           "\nOneTrade_date=2025-09-03\nyesterdayClosePrice=10.00\nOneTrade_openPrice=10.10\n"
           "OneTrade_closePrice=10.50\nOneTrade_highPrice=10.60\nOneTrade_lowPrice=10.00\n"
           "trend=1\nstockScore=135\nMode_isModeA=0\nMode_isModeB=0\ngains5Days=3.25\n"
           "gains10Days=-1.5\nOneTrade_volumeData=120000\n";
}

/// 40 trading days, newest first, closes rising towards today.
std::string historyText() {
    std::string text = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    for (int i = 0; i < 40; ++i) {
        const int day = 28 - (i % 28);
        const float close = 12.0f - 0.05f * static_cast<float>(i);
        text += format("2025-%02d-%02d,%.2f,%.2f,%.2f,%.2f,100000,%.2f\n", i < 28 ? 8 : 7, day,
                       close, close + 0.1, close - 0.1, close, close);
    }
    return text;
}

std::string quoteLine(const std::string& code) {
    std::string line = "var hq_str_" + code + "=\"浦发银行,12.00,11.90,12.10,12.20,11.80";
    for (int i = 6; i < 30; ++i) line += ",0";
    return line + ",2025-09-03,15:00:00,00\";\n";
}

class Progress : public QXStockLibUpdateDelegate {
  public:
    void updateHisdatProgressdDelegate(int done, int total) override {
        calls.emplace_back(done, total);
    }
    std::vector<std::pair<int, int>> calls;
};

class QXStockLibTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& s = server.server();
        const std::string base = "/base/const/hisdata";
        s.Get(base + "/retdata/600000.txt", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(resultFile("600000"), "text/plain");
        });
        s.Get(base + R"(/retdata/600000/(\d+)\.txt)",
              [](const httplib::Request& req, httplib::Response& res) {
                  if (std::stoi(req.matches[1]) <= 3)
                      res.set_content(resultFile("600000"), "text/plain");
                  else
                      res.status = 404;
              });
        // The result file of 600001 breaks off: a transfer failure.
        s.Get(base + "/retdata/600001.txt", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(1000, "text/plain",
                                     [](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset > 0) return false;
                                         sink.write("curStock", 8);
                                         return true;
                                     });
        });
        s.Get(base + "/sinadata/600001.txt", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(quoteLine("sh600001"), "text/plain");
        });
        s.Get(base + "/stockdata/600001.txt",
              [this](const httplib::Request&, httplib::Response& res) {
                  ++historyHits;
                  res.set_content(historyText(), "text/plain");
              });
        s.Get("/quote", [this](const httplib::Request& req, httplib::Response& res) {
            ++quoteHits;
            res.set_content("\xC6\xD6" + quoteLine(req.get_param_value("list")), "text/plain");
        });
        server.start();
        MarketServers::install(
            std::make_shared<MarketServers>(server.url("/base"), server.url("/quote")));
    }
    void TearDown() override {
        MarketServers::install(nullptr);
        lib.setDelegate(nullptr);
    }

    test::TempDataDir dir;
    test::LocalHttpServer server;
    QXStockLib& lib = QXStockLib::defQXStockLib();
    std::atomic<int> historyHits{0}, quoteHits{0};
};

}  // namespace

TEST_F(QXStockLibTest, ServerResultOrNothingWhenTheServerAnswers) {
    auto today = lib.getOneStockDataInfoFormServer("600000");
    ASSERT_TRUE(today);
    EXPECT_EQ(today->at(k::STOCK_Code).string(), "600000");
    EXPECT_EQ(today->at(k::STOCK_SCORE).toInteger(), 135);
    // A 404 page is an answer: no record and no local computation.
    EXPECT_FALSE(lib.getOneStockDataInfoFormServer("600002"));
    EXPECT_EQ(historyHits, 0);
    // Texts that are not codes never reach the server.
    EXPECT_FALSE(lib.getOneStockDataInfoFormServer("../../etc"));
    EXPECT_TRUE(lib.getLastPassdayDataInfoFormServer("60000x", 5).empty());
}

TEST_F(QXStockLibTest, TransferFailureFallsBackToTheLocalComputation) {
    auto record = lib.getOneStockDataInfoFormServer("600001");
    ASSERT_TRUE(record);
    EXPECT_EQ(historyHits, 1);
    EXPECT_EQ(record->at(k::STOCK_Code).string(), "600001");
    EXPECT_EQ(record->at(k::STOCK_closePrice).string(), "12.10");  // from the quote copy
    EXPECT_EQ(record->at(k::STOCK_DATE).string(), "2025-09-03 15:00:00");
    EXPECT_TRUE(record->at(k::STOCK_Trend).isInteger());
    EXPECT_TRUE(record->at(k::KEY_Gain_5Days).isReal());
    const auto& before = record->at(k::STOCK_DICTINFO_Before5Days).dictionary();
    EXPECT_EQ(before.at(k::STOCK_DATE).string(), "2025-08-23");
    EXPECT_FALSE(record->contains(k::STOCK_SCORE));
}

TEST_F(QXStockLibTest, UnreachableServerGivesThePlaceholderThenNothingAfterAPause) {
    server.stop();
    auto placeholder = lib.getTodayStockDict("600000");
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(placeholder->at(k::STOCK_DATE).string(), "1970-01-01");
    EXPECT_EQ(placeholder->at(k::STOCK_closePrice).string(), "0.01");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(lib.getOneStockDataInfoFormServer("600000"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(QXStockLibTest, EarlierDaysAreCappedAt98WithProgressAfterEachDay) {
    Progress progress;
    lib.setDelegate(&progress);
    auto records = lib.getLastPassdayDataInfoFormServer("600000", 150);
    EXPECT_EQ(records.size(), 4u);  // today and days 1 to 3
    ASSERT_EQ(progress.calls.size(), 98u);
    EXPECT_EQ(progress.calls.front(), std::make_pair(1, 98));
    EXPECT_EQ(progress.calls.back(), std::make_pair(98, 98));
    progress.calls.clear();
    EXPECT_EQ(lib.getLastPassdayDataInfoFormServer("600000", 0).size(), 1u);
    EXPECT_TRUE(progress.calls.empty());
}

TEST_F(QXStockLibTest, OwnStockQueueRefreshesTheQuoteFilesOfValidCodes) {
    ScopedRunLoop loop;
    const auto hold = getHoldStockPath();
    for (auto name : {"600000.txt", "000001.txt", "notacode.txt", ".DS_Store"})
        ASSERT_TRUE(writeFileAtomically(hold / name, "old"));
    auto queue = lib.handDownloadMyStockProcess();
    ASSERT_TRUE(queue);
    ASSERT_TRUE(loop.loop().runUntil([&] { return queue->requestsCount() == 0; }, 10s));
    EXPECT_EQ(quoteHits, 2);
    auto sh = readFile(hold / "600000.txt");
    ASSERT_TRUE(sh);
    EXPECT_TRUE(sh->starts_with("\xC6\xD6var hq_str_sh600000="));  // raw bytes, not decoded
    EXPECT_NE(readFile(hold / "000001.txt")->find("hq_str_sz000001"), std::string::npos);
    EXPECT_EQ(readFile(hold / "notacode.txt"), "old");
}
