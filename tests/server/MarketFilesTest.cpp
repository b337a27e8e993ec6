#include "orvane/publisher/MarketFiles.h"

#include <gtest/gtest.h>

#include "orvane/core/TextSplit.h"
#include "orvane/market/GainList.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
using namespace orvane::server;
namespace k = orvane::keys;

namespace {
StockOfTheDay stock(const std::string& code, double yesClose, double close, int score = 100,
                    PatternType pattern = kPatternNone) {
    StockOfTheDay s;
    s.listing = {code, "浦发银行", "银行", ""};
    s.today = {"2025-09-03", yesClose, close * 1.01, yesClose * 0.99, close, 123456};
    s.yesClose = yesClose;
    s.score = score;
    s.pattern = pattern;
    return s;
}
}  // namespace

TEST(MarketFiles, QuoteLineHasTheQuoteServiceShape) {
    const std::string line = quoteLine(stock("600000", 10.0, 10.5));
    EXPECT_EQ(splitOn(line, ',').size(), 33u);
    EXPECT_EQ(line.rfind("var hq_str_sh600000=\"浦发银行,", 0), 0u);
    auto record = parseSinaData(line, "600000");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->at(k::STOCK_SC_Name).string(), "浦发银行");
    EXPECT_EQ(record->at(k::STOCK_closePrice).string(), "10.50");
    EXPECT_EQ(record->at(k::STOCK_YesClosePrice).string(), "10.00");
    EXPECT_EQ(record->at(k::STOCK_DATE).string(), "2025-09-03 15:00:00");
    EXPECT_EQ(splitOn(quoteLine(stock("000001", 10, 10)), ',')[0].substr(0, 19),
              "var hq_str_sz000001");
}

TEST(MarketFiles, GainListsSplitByExchangeAndDirection) {
    const std::vector<StockOfTheDay> day = {stock("600000", 10, 10.3), stock("600001", 10, 10.6),
                                            stock("000001", 10, 10.9), stock("600002", 10, 9.7),
                                            stock("600003", 10, 9.0)};
    const std::string up = gainListText(day, true, true);
    EXPECT_EQ(splitLines(up).size(), 4u);  // header, two stocks, final empty element
    const Array rising = parseGainList(up, -1);
    ASSERT_EQ(rising.size(), 2u);  // both above 2.5%, largest first
    EXPECT_EQ(rising[0].dictionary().at(k::STOCK_Code).string(), "600001");
    const Array falling = parseGainList(gainListText(day, true, false), 1);
    ASSERT_EQ(falling.size(), 2u);
    EXPECT_EQ(falling[0].dictionary().at(k::STOCK_Code).string(), "600003");
    EXPECT_TRUE(parseGainList(gainListText(day, false, false), 1).empty());
}

TEST(MarketFiles, ScoreListsParseBack) {
    const std::vector<StockOfTheDay> day = {stock("600000", 10, 10, 150),
                                            stock("600001", 10, 10, 190),
                                            stock("000001", 10, 10, 130, kPatternDoubleCannon),
                                            stock("000002", 10, 10.8, 100, kPatternSingleCannon)};
    const auto records = parseScoreRecords(scoreListText(day));
    ASSERT_EQ(records.size(), 4u);  // every line is read: the text ends with a line break
    EXPECT_EQ(records[0].code, "600001");
    EXPECT_EQ(records[2].modeType, 4);
    EXPECT_EQ(doubleCannonListText(day), "code,score\n000001,130\n");
    EXPECT_EQ(singleCannonListText(day), "code,change\n000002,8.00\n");
}
