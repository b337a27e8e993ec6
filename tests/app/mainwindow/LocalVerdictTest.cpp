// The verdict of a stock computed on this machine (the history fetched and
// analysed when the server's result cannot be had) against the server's own
// verdict of the same day, over a published made-up market whose result
// files the same engine computed.

#include <gtest/gtest.h>

#include "ServedMarketTest.h"
#include "mainwindow/VerdictDisplay.h"
#include "orvane/stocklib/QXStockLib.h"

using namespace orvane;
using namespace orvane::app;

namespace {

using LocalVerdict = test::ServedMarketTest;

// What the window shows of a verdict; the day field aside, which for a
// local computation carries the quote's time as well.
std::string shown(const VerdictView& v) {
    return v.code + "|" + v.verdict + "|" + std::to_string(v.verdictColour.red) + "," +
           std::to_string(v.verdictColour.green) + "," + std::to_string(v.verdictColour.blue) +
           "|" + (v.modeB ? "B" : "-") + "|" + v.open + "|" + v.close + "|" + v.yesClose + "|" +
           v.change + "|" + v.range;
}

}  // namespace

TEST_F(LocalVerdict, TheLocalComputationShowsTheServersVerdictScoreIncluded) {
    // At the close of the market's last day, the moment the server's verdict
    // stands for; the history already holds that day.
    test::FixedNow close(2025, 12, 5, 15);
    QXStockLib& lib = QXStockLib::defQXStockLib();
    int scored = 0;
    for (const server::StockSeries& stock : market()) {
        const std::string& code = stock.listing.code;
        const std::optional<StockRecord> served = lib.getOneStockDataInfoFormServer(code);
        ASSERT_TRUE(served) << code;
        const std::optional<StockRecord> quote = lib.getTodayStockDict(code);
        ASSERT_TRUE(quote) << code;
        const std::optional<StockRecord> local = lib.downLoadOneStockFromSeverHisdata(*quote);
        ASSERT_TRUE(local) << code;
        EXPECT_EQ(local->score, served->score) << code;
        EXPECT_EQ(shown(makeVerdictView(*local, 7)), shown(makeVerdictView(*served, 7))) << code;
        scored += served->score.value_or(0) != 0;
    }
    EXPECT_GT(scored, 0);
}
