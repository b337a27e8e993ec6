#include "orvane/market/QuoteLine.h"

#include <gtest/gtest.h>

#include "orvane/market/MinuteLines.h"
#include "orvane/market/QuoteBatch.h"
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

TEST(QuoteLine, VolumeAmountFiveLevelsAndStatus) {
    // Fields 6 to 29 of the made-up line hold their own index.
    const auto r = parseSinaData(quoteLine(33), "600000");
    ASSERT_TRUE(r && r->book);
    EXPECT_EQ(r->volume, 8.0);
    EXPECT_EQ(r->amount, 9.0);
    EXPECT_EQ(r->book->bids[0], (BookLevel{11, 10}));
    EXPECT_EQ(r->book->bids[4], (BookLevel{19, 18}));
    EXPECT_EQ(r->book->asks[0], (BookLevel{21, 20}));
    EXPECT_EQ(r->book->asks[4], (BookLevel{29, 28}));
    EXPECT_EQ(r->quoteStatus, "32");
    EXPECT_FALSE(isSuspendedQuote(*r));

    // A level that is not a number leaves the whole book out, not a part.
    std::string damaged = quoteLine(33);
    damaged.replace(damaged.find(",25,"), 4, ",x,");
    EXPECT_FALSE(parseSinaData(damaged, "600000")->book);
    EXPECT_TRUE(parseSinaData(damaged, "600000")->volume);

    std::string suspended = quoteLine(33);
    suspended.replace(suspended.find(",32\""), 4, ",03\"");
    EXPECT_TRUE(isSuspendedQuote(*parseSinaData(suspended, "600000")));
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

TEST(QuoteLine, SeveralQuotesAndTheDaysMinutesInOneAnswer) {
    EXPECT_EQ(quotesRequestURL("http://q.example/", {"600000", "bad", "000001"}),
              "http://q.example/?list=sh600000,sz000001");
    const std::string answer = quoteLine(33) + "\nvar hq_str_sz000002=\"\";\n" +
                               quoteLine(33, "var hq_str_sz000001=\"平安银行") + "\n";
    const auto quotes = parseQuoteAnswer(answer);
    ASSERT_EQ(quotes.size(), 2u);
    EXPECT_EQ(quotes[1].code, "000001");
    EXPECT_EQ(quotes[1].name, "平安银行");
    // Lines cut short after the marker are no quotes (they once threw).
    EXPECT_TRUE(parseQuoteAnswer("hq_str_,,,\nhq_str_\nvar hq_str_s").empty());

    EXPECT_EQ(minutesRequestURL("http://h.example:8468/orvane", {"600000", "000001"}),
              "http://h.example:8468/min=sh600000,sz000001");
    const auto minutes = parseMinuteAnswer(
        "sh600000,09:30,10.01,10.005,12300\r\n"
        "sh600000,13:00,10.20,10.100,500\n"
        "sh600000,11:30,10.20,10.100,500\n"    // the lunch break is no minute
        "sz600000,09:31,10.01,10.005,12300\n"  // nor a symbol of the wrong market
        "sh600000,09:32,x,10.005,12300\n"
        "<html>404</html>\n");
    ASSERT_EQ(minutes.size(), 1u);
    const auto& bars = minutes.at("600000");
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].minute, 0);
    EXPECT_EQ(bars[1].minute, 120);
    EXPECT_EQ(bars[1].averagePrice, 10.1);
    EXPECT_EQ(bars[0].volume, 12300);
}
