// The whole road: a market published, served over HTTP, and read back by the
// program's market-data library.

#include <gtest/gtest.h>

#include "ServerFixture.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"

using namespace orvane;
namespace k = orvane::keys;

TEST(EndToEnd, PublishedRecordsComeBackThroughTheServer) {
    test::TempDataDir dir;
    const auto tree = dir.path() / "tree";
    const auto market = test::publishDemoMarket(tree, 8, 2, 3);
    ASSERT_FALSE(market.empty());

    test::RunningServer running(tree);
    const auto before = MarketServers::shared();
    MarketServers::install(std::make_shared<MarketServers>(running.dataURL(), running.quoteURL()));
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
    MarketServers::install(before);
}
