#include "orvane/reports/MarketBreadth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "TempDataDir.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/SectorGroups.h"

using namespace orvane;

namespace {

// Sector groups from plate files made by the test.
struct Plates {
    test::TempDataDir dir;
    Plates(const std::vector<std::pair<std::string, int>>& groups) {
        std::filesystem::create_directories(dir.path() / "plate");
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

StockRecord stock(int code, double yesClose, double close) {
    StockRecord r;
    r.code = std::to_string(code);
    r.yesClosePrice = format("%.2f", yesClose);
    r.closePrice = format("%.2f", close);
    return r;
}

}  // namespace

TEST(MarketBreadth, PointsPerStock) {
    const std::pair<float, std::int32_t> rows[] = {
        {10, 7 + 2},        {8, 5},   {3, 0},         {INFINITY, 2},
        {1e30f, INT32_MAX}, {-3, -3}, {-10, -11 - 2}, {-1e30f, INT32_MIN}};
    for (const auto& [g, points] : rows)
        EXPECT_EQ(g > 0 ? risingStockPoints(g) : fallingStockPoints(g), points) << g;
}

TEST(MarketBreadth, ReportsRankSharesRisingFromFortyFallingAboveThirtyFive) {
    Plates plates({{"甲", 20}, {"乙", 20}, {"丙", 5}});
    std::vector<StockRecord> rising, falling;  // 8 of 甲 (40 %) and 7 of 乙 (35 %); 丙 has none
    for (int i = 0; i < 15; ++i) {
        const int code = i < 8 ? 600000 + i : 600020 + i - 8;
        rising.push_back(stock(code, 10, i < 8 ? 10.5 : 10.3));
        falling.push_back(stock(code, 10, 9.7));
    }
    std::int32_t score = 100;
    const SectorReport up =
        risingSectorReport(rising, plates.groups(), score, *parseDateTime("2025-09-03 15:01:02"));
    EXPECT_EQ(up.text,
              "2025-09-03 15.01.02:   沪深 上涨板块信息\r\n"
              "1: 甲 板块 总共20只股票，40.0% 股票上涨\r\n"
              "\r\n提示:-----以下是板块涨幅小于40%,不建议选择----\r\n\r\n"
              "2: 乙 板块 总共20只股票，35.0% 股票上涨\r\n\r\n");
    EXPECT_EQ(score, 100 + 8 * 2 + 7 * 0 + 10 * 1 - 10);  // trunc(5 - 2.5), trunc(3 - 2.5)
    EXPECT_EQ(up.count.ranked[0].codes, "600000,600001,600002,600003,600004,600005,600006,600007");
    const SectorReport down = fallingSectorReport(falling, plates.groups(), score);
    EXPECT_EQ(down.strong, 1);
    EXPECT_NE(down.text.find("1: 甲 板块 总共20只股票，40.0%（8只）股票下跌\r\n"),
              std::string::npos);
    EXPECT_EQ(score, 116 + 15 * -3 + 10 - 10 * 1);
}

TEST(MarketBreadth, OnlyNineLinesCount) {
    std::vector<std::pair<std::string, int>> twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back({"组" + std::to_string(i), 2});
    Plates plates(twelve);
    std::vector<StockRecord> rising;
    for (int i = 0; i < 24; ++i) rising.push_back(stock(600000 + i, 10, 10.5));
    std::int32_t score = 0;
    const SectorReport report =
        risingSectorReport(rising, plates.groups(), score, *parseDateTime("2025-09-03 15:00:00"));
    EXPECT_EQ(report.strong, 9);  // strong groups beyond the ninth line do not count
}

TEST(MarketBreadth, StatusLineDividesByOneWithoutFallers) {
    EXPECT_EQ(marketStatusLine(1, 2, 500, 0, 9).text,
              "1个板块有效上涨,2个板块下跌; 上涨 500只 下跌 0只 涨跌比例 500.00:1 ;市场分数:9 "
              ";目前市场非常沉闷, 空仓为好");
}

TEST(MarketBreadth, SellSignals) {
    std::vector<GroupCount> falling = {
        {"NONE", 3, "000001", 100}, {"银行", 10, "600000,600001", 20}, {"铜", 8, "600100", 16}};
    // A one-character group name never gives signal 1; the code among the fallers gives 10.
    EXPECT_EQ(getStockSellSingal("600100", "铜", falling).signal, 10);
    std::vector<Membership> records = {{"600000", "银行", "10", "9"}};
    EXPECT_FLOAT_EQ(getStockPercentRaise("600000", records), (9.0f - 10.0f) * 100.0f / 9.0f);
}
