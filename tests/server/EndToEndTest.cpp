// The whole road: a market published, served over HTTP, and read back by the
// program's market-data library.

#include <gtest/gtest.h>

#include "ServerFixture.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QXStockLib.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"
#include "orvane/server/Publisher.h"
#include "orvane/server/SyntheticMarket.h"

using namespace orvane;
namespace k = orvane::keys;

TEST(EndToEnd, PublishedRecordsComeBackThroughTheServer) {
    test::TempDataDir dir;
    const auto tree = dir.path() / "tree";
    server::PublishOptions options;
    options.daysBack = 3;
    options.version = LocalDateTime{2025, 12, 5, 16, 0, 0};
    const auto market = server::makeSyntheticMarket(8, 2, *parseDate("2025-12-05"), 320);
    ASSERT_TRUE(server::publishMarket(market, tree, options).ok);

    test::RunningServer running(tree);
    const MarketServers before = marketServers();
    setMarketServers({"http://127.0.0.1:" + std::to_string(running.port()) + "/orvane",
                      "http://127.0.0.1:" + std::to_string(running.port()) + "/"});
    const std::string code = market[3].listing.code;
    QXStockLib& lib = QXStockLib::defQXStockLib();

    auto record = lib.getOneStockDataInfoFormServer(code);
    auto published = parseRetStockServerData(
        *readFile(tree / ("const/hisdata/retdata/" + code + ".txt")), nullptr);
    ASSERT_TRUE(record);
    ASSERT_TRUE(published);
    EXPECT_EQ(*record, *published);
    EXPECT_EQ(lib.getLastPassdayDataInfoFormServer(code, 3).size(), 4u);
    auto quote = lib.getTodayStockDict(code);
    ASSERT_TRUE(quote);
    EXPECT_EQ(quote->at(k::STOCK_SC_Name).string(), market[3].listing.name);
    EXPECT_EQ(quote->at(k::STOCK_closePrice).string(), record->at(k::STOCK_closePrice).string());
    setMarketServers(before);
}
