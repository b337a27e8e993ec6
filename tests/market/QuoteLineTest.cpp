#include "orvane/market/QuoteLine.h"

#include <gtest/gtest.h>

#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

/// A quote line with `fields` comma-separated fields (the real one has 33).
std::string quoteLine(int fields, const std::string& head = "var hq_str_sh600000=\"浦发银行") {
    std::string line = head + ",10.10,10.00,10.50,10.60,9.90";
    for (int i = 6; i < fields; ++i)
        line += "," + (i == 30 ? "2025-09-03" : i == 31 ? "15:00:00" : std::to_string(i));
    return line + "\";";
}

}  // namespace

TEST(QuoteLine, RecordTakesTheFieldsTheCallersCodeAndJoinsDateAndTime) {
    const auto r = parseSinaData(quoteLine(33), "600001");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->toDictionary(), (Dictionary{{k::STOCK_SC_Name, "浦发银行"},
                                             {k::STOCK_Code, "600001"},
                                             {k::STOCK_OpenPrice, "10.10"},
                                             {k::STOCK_YesClosePrice, "10.00"},
                                             {k::STOCK_closePrice, "10.50"},
                                             {k::STOCK_HighPrice, "10.60"},
                                             {k::STOCK_LowPrice, "9.90"},
                                             {k::STOCK_DATE, "2025-09-03 15:00:00"}}));
}

TEST(QuoteLine, ShortOrUnmarkedAnswersGiveNothing) {
    EXPECT_FALSE(parseSinaData("var hq_str_sz000000=\"\";", "000000"));
    EXPECT_FALSE(parseSinaData(quoteLine(31), "600000"));
    EXPECT_TRUE(parseSinaData(quoteLine(32), "600000"));
    EXPECT_FALSE(parseSinaData(quoteLine(33, "var hq_str_sh600000=浦发银行"), "600000"));
}

TEST(StockCode, ValidityAndMarketPrefix) {
    for (const char* bad : {"60000a", "6000001", "", "../../"})
        EXPECT_FALSE(isValidStockCode(bad)) << bad;
    for (const auto& [code, prefix] :
         {std::pair{"600000", "sh"}, {"510050", "sh"}, {"300750", "sz"}}) {
        EXPECT_TRUE(isValidStockCode(code));
        EXPECT_EQ(marketPrefix(code), prefix) << code;
    }
    EXPECT_EQ(quoteRequestURL("http://q.example/list", "600000"),
              "http://q.example/list?list=sh600000");
    EXPECT_EQ(quoteRequestURL("http://q.example/?rn=1", "000001"),
              "http://q.example/?rn=1&list=sz000001");
}
