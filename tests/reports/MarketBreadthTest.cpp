#include "orvane/reports/MarketBreadth.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDataDir.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

// Sector groups from plate files made by the test.
struct Plates {
    test::TempDataDir dir;
    Plates(const std::vector<std::pair<std::string, int>>& groups) {
        std::filesystem::create_directories(dir.path() / "plate");
        std::filesystem::create_directories(dir.path() / "composit");
        int next = 600000;
        for (const auto& [name, size] : groups) {
            std::ofstream file(dir.path() / "plate" / (name + ".txt"));
            for (int i = 0; i < size; ++i) file << next++ << "\n";
        }
    }
    SectorGroups groups() const {
        return SectorGroups(dir.path() / "plate", dir.path() / "composit");
    }
};

Dictionary stock(int code, double yesClose, double close) {
    return {{k::STOCK_Code, std::to_string(code)},
            {k::STOCK_YesClosePrice, format("%.2f", yesClose)},
            {k::STOCK_closePrice, format("%.2f", close)}};
}

}  // namespace

TEST(MarketBreadth, PointsPerStock) {
    EXPECT_EQ(risingStockPoints(10.0f), 7 + 2);
    EXPECT_EQ(risingStockPoints(3.0f), 0);
    EXPECT_EQ(risingStockPoints(8.0f), 5);
    EXPECT_EQ(fallingStockPoints(-3.0f), -3);
    EXPECT_EQ(fallingStockPoints(-10.0f), -11 - 2);
    EXPECT_EQ(risingStockPoints(std::numeric_limits<float>::infinity()), 2);
    // Absurd prices saturate the points and the score instead of wrapping.
    EXPECT_EQ(risingStockPoints(1e30f), INT32_MAX);
    EXPECT_EQ(fallingStockPoints(-1e30f), INT32_MIN);
    Plates plates({{"甲", 2}});
    Array absurd{stock(600000, 0.01, 1e30), stock(600001, 0.01, 1e30)};
    std::int32_t score = 100;
    risingSectorReport(absurd, plates.groups(), score, *parseDateTime("2025-09-03 15:01:02"));
    EXPECT_EQ(score, INT32_MAX);
}

TEST(MarketBreadth, RisingReportRanksSharesAndHintsBelowForty) {
    Plates plates({{"甲", 20}, {"乙", 20}});
    const SectorGroups groups = plates.groups();
    Array rising;
    for (int i = 0; i < 8; ++i) rising.push_back(stock(600000 + i, 10, 10.5));  // 8 of 甲 (40%)
    for (int i = 0; i < 7; ++i) rising.push_back(stock(600020 + i, 10, 10.3));  // 7 of 乙 (35%)
    std::int32_t score = 100;
    const SectorReport report =
        risingSectorReport(rising, groups, score, *parseDateTime("2025-09-03 15:01:02"));
    EXPECT_EQ(report.strong, 1);
    EXPECT_EQ(report.text,
              "2025-09-03 15.01.02:   沪深 上涨板块信息\r\n"
              "1: 甲 板块 总共20只股票，40.0% 股票上涨\r\n"
              "\r\n提示:-----以下是板块涨幅小于40%,不建议选择----\r\n\r\n"
              "2: 乙 板块 总共20只股票，35.0% 股票上涨\r\n\r\n");
    // 8 x trunc(5 - 2.5) + 7 x trunc(3 - 2.5) + 10 x 1 - 10.
    EXPECT_EQ(score, 100 + 8 * 2 + 7 * 0 + 0);
    EXPECT_EQ(report.count.ranked[0].codes,
              "600000,600001,600002,600003,600004,600005,600006,600007");
}

TEST(MarketBreadth, FallingReportNeedsMoreThanThirtyFive) {
    Plates plates({{"甲", 20}, {"乙", 20}});
    Array falling;
    for (int i = 0; i < 8; ++i) falling.push_back(stock(600000 + i, 10, 9.7));
    for (int i = 0; i < 7; ++i) falling.push_back(stock(600020 + i, 10, 9.7));
    std::int32_t score = 0;
    const SectorReport report = fallingSectorReport(falling, plates.groups(), score);
    EXPECT_EQ(report.strong, 1);
    EXPECT_NE(report.text.find("1: 甲 板块 总共20只股票，40.0%（8只）股票下跌\r\n"),
              std::string::npos);
    EXPECT_EQ(score, 15 * -3 + 10 - 10);  // 15 stocks 3 % down, 10 x 1 - 10
}

TEST(MarketBreadth, OnlyNineLinesAndNoGroupsAtAll) {
    std::vector<std::pair<std::string, int>> twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back({"组" + std::to_string(i), 2});
    Plates plates(twelve);
    Array rising;
    for (int i = 0; i < 24; ++i) rising.push_back(stock(600000 + i, 10, 10.5));
    std::int32_t score = 0;
    const SectorReport report =
        risingSectorReport(rising, plates.groups(), score, *parseDateTime("2025-09-03 15:00:00"));
    EXPECT_EQ(report.strong, 9);  // strong groups beyond the ninth line do not count
    EXPECT_EQ(report.text.find("10: "), std::string::npos);
    std::int32_t empty = 0;
    EXPECT_EQ(risingSectorReport({}, plates.groups(), empty, *parseDateTime("2025-09-03 15:00:00"))
                  .strong,
              0);
    EXPECT_EQ(empty, -10);
}

TEST(MarketBreadth, StatusLineRowsAndRatio) {
    EXPECT_EQ(marketStatusLine(1, 2, 500, 1, 9).text,
              "1个板块有效上涨,2个板块下跌; 上涨 500只 下跌 1只 涨跌比例 500.00:1 ;市场分数:9 "
              ";目前市场非常沉闷, 空仓为好");
    EXPECT_EQ(marketStatusLine(0, 0, 7, 0, 10).font, StyledText::Font::Label);
    EXPECT_NE(marketStatusLine(0, 0, 7, 0, 10).text.find("涨跌比例 7.00:1"), std::string::npos);
    const StyledText top = marketStatusLine(0, 0, 1, 1, 1000);
    EXPECT_NE(top.text.find("目前市场 非常 亢奋 "), std::string::npos);
    EXPECT_EQ(top.colour, 0xFF0000u);
    EXPECT_EQ(marketStatusLine(0, 0, 1, 1, 399).text.find("正常状况") != std::string::npos, true);
}

TEST(MarketBreadth, SellSignals) {
    std::vector<GroupCount> falling = {{"NONE", 3, "000001", 100},
                                       {"银行", 10, "600000,600001", 20},
                                       {"铜", 8, "600100", 16},
                                       {"地产", 2, "600200", 20}};
    EXPECT_EQ(getStockSellSingal("600009", "银行,证券", falling).signal, 1);
    EXPECT_EQ(getStockSellSingal("600009", "银行,证券", falling).index, 1);
    // A one-character group name never gives signal 1; the code among the fallers gives 10.
    EXPECT_EQ(getStockSellSingal("600100", "铜", falling).signal, 10);
    EXPECT_EQ(getStockSellSingal("600300", "铜", falling).signal, 0);
    EXPECT_EQ(getStockSellSingal("600300", "铜", falling).index, 3);  // the first weak group
    std::vector<Membership> records = {{"600000", "银行", "10", "9"}};
    EXPECT_FLOAT_EQ(getStockPercentRaise("600000", records), (9.0f - 10.0f) * 100.0f / 9.0f);
    EXPECT_EQ(getStockPercentRaise("600001", records), 0.0f);
}
