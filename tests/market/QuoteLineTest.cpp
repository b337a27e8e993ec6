#include "orvane/market/QuoteLine.h"

#include <gtest/gtest.h>

#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

/// A quote line with `fields` comma-separated fields (the real one has 33).
std::string quoteLine(int fields, const std::string& head = "var hq_str_sh600000=\"浦发银行") {
    std::string line = head;
    const char* values[] = {"10.10", "10.00", "10.50", "10.60", "9.90"};
    for (int i = 1; i < fields; ++i) {
        line += ',';
        if (i <= 5)
            line += values[i - 1];
        else if (i == 30)
            line += "2025-09-03";
        else if (i == 31)
            line += "15:00:00";
        else
            line += std::to_string(i);
    }
    return line + "\";";
}

}  // namespace

TEST(QuoteLine, RecordTakesTheFieldsTheCallersCodeAndJoinsDateAndTime) {
    auto r = parseSinaData(quoteLine(33), "600001");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->at(k::STOCK_SC_Name).string(), "浦发银行");
    EXPECT_EQ(r->at(k::STOCK_Code).string(), "600001");
    EXPECT_EQ(r->at(k::STOCK_OpenPrice).string(), "10.10");
    EXPECT_EQ(r->at(k::STOCK_YesClosePrice).string(), "10.00");
    EXPECT_EQ(r->at(k::STOCK_closePrice).string(), "10.50");
    EXPECT_EQ(r->at(k::STOCK_HighPrice).string(), "10.60");
    EXPECT_EQ(r->at(k::STOCK_LowPrice).string(), "9.90");
    EXPECT_EQ(r->at(k::STOCK_DATE).string(), "2025-09-03 15:00:00");
    EXPECT_EQ(r->size(), 8u);
}

TEST(QuoteLine, ShortOrUnmarkedAnswersGiveNothing) {
    EXPECT_FALSE(parseSinaData("var hq_str_sz000000=\"\";", "000000"));
    EXPECT_FALSE(parseSinaData("", "600000"));
    EXPECT_FALSE(parseSinaData(quoteLine(31), "600000"));
    EXPECT_TRUE(parseSinaData(quoteLine(32), "600000"));
    EXPECT_FALSE(parseSinaData(quoteLine(33, "var hq_str_sh600000=浦发银行"), "600000"));
}

TEST(StockCode, ValidityAndMarketPrefix) {
    EXPECT_TRUE(isValidStockCode("123456"));
    EXPECT_FALSE(isValidStockCode("60000a"));
    EXPECT_FALSE(isValidStockCode("6000001"));
    EXPECT_FALSE(isValidStockCode(""));
    EXPECT_FALSE(isValidStockCode("../../"));
    EXPECT_EQ(marketPrefix("600000"), "sh");
    EXPECT_EQ(marketPrefix("510050"), "sh");
    EXPECT_EQ(marketPrefix("000001"), "sz");
    EXPECT_EQ(marketPrefix("300750"), "sz");
    EXPECT_EQ(quoteRequestURL("http://q.example/list", "600000"),
              "http://q.example/list?list=sh600000");
    EXPECT_EQ(quoteRequestURL("http://q.example/?rn=1", "000001"),
              "http://q.example/?rn=1&list=sz000001");
}
