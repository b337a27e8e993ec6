#include "orvane/market/ResultFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/BoundedSubstring.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

const char* kToday =
    "curStockCode=600000\n"
    "OneTrade_date=2025-09-03\n"
    "yesterdayClosePrice=10.00\n"
    "OneTrade_openPrice=10.10\n"
    "OneTrade_closePrice=10.50\n"
    "OneTrade_highPrice=10.60\n"
    "OneTrade_lowPrice=10.00\n"
    "trend=1\n"
    "stockScore=135\n"
    "Mode_isModeA=0\n"
    "Mode_isModeB=0\n"
    "gains5Days=3.25\n"
    "gains10Days=-1.5\n"
    "before_trend=3\n"
    "before_gains5Days=0.5\n"
    "before_gains10Days=1.25\n"
    "before_Mode_isModeA=0\n"
    "before_Mode_isModeB=1\n"
    "beforeTrade_date=2025-08-27\n"
    "Mode_MsgCheckDate=2025-09-02\n"
    "Mode_modeBClosePrice=10.50\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

struct NoticeRecorder {
    std::vector<Notification> notes;
    ScopedObserver observer{NotificationBus::shared(), notifications::Notifiation_TREND_MODEB,
                            [this](const Notification& n) { notes.push_back(n); }};
};

}  // namespace

TEST(BoundedSubstring, FirstUnanchoredHitTrimmedOfBlanksOnly) {
    EXPECT_EQ(substringWithinBoundsLeft("a=1\nxa= \t2 \r\n", "a=", "\n"), "1");
    EXPECT_EQ(substringWithinBoundsLeft("xa= 2 \r\n", "a=", "\n"), "2 \r");
    EXPECT_FALSE(substringWithinBoundsLeft("a=1", "a=", "\n"));
    EXPECT_FALSE(substringWithinBoundsLeft("b=1\n", "a=", "\n"));
}

TEST(ResultFile, TodayFileGivesFullRecord) {
    NoticeRecorder rec;
    auto r = parseRetStockServerData(kToday, nullptr);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->at(k::STOCK_Code).string(), "600000");
    EXPECT_EQ(r->at(k::STOCK_closePrice).string(), "10.50");
    EXPECT_EQ(r->at(k::STOCK_Trend).toInteger(), 1);
    EXPECT_EQ(r->at(k::STOCK_SCORE).toInteger(), 135);
    EXPECT_FALSE(r->at(k::STOCK_Trend_ModeB).toBool());
    EXPECT_EQ(r->at(k::KEY_Gain_5Days).toFloat(), 3.25f);
    EXPECT_EQ(r->at(k::STOCK_Discription).string(),
              "上涨趋势,得分:135 ;5日涨幅为3.25%, 10日涨幅为-1.50%");
    const Dictionary& before = r->at(k::STOCK_DICTINFO_Before5Days).dictionary();
    EXPECT_EQ(before.at(k::STOCK_DATE).string(), "2025-08-27");
    EXPECT_EQ(before.at(k::STOCK_Trend).toInteger(), 3);
    EXPECT_TRUE(before.at(k::STOCK_Trend_ModeB).toBool());
    EXPECT_EQ(before.at(k::KEY_Gain_10Days).toFloat(), 1.25f);
    EXPECT_TRUE(rec.notes.empty());
}

TEST(ResultFile, TodayFileRejections) {
    EXPECT_FALSE(parseRetStockServerData(replaced(kToday, "600000", "60000"), nullptr));
    std::string crlf;
    for (char c : std::string(kToday)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_FALSE(parseRetStockServerData(crlf, nullptr));
    EXPECT_FALSE(parseRetStockServerData("", nullptr));
}

TEST(ResultFile, LongerKeyListedFirstShadowsItsTail) {
    std::string text = "before_trend=3\n" + replaced(kToday, "before_trend=3\n", "");
    auto r = parseRetStockServerData(text, nullptr);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->at(k::STOCK_Trend).toInteger(), 3);
}

TEST(ResultFile, ModelFlagsAreEightBitValuesAndBothGiveOneNotice) {
    // {model A, model B, model B in the record, notices}: 256 has a zero low
    // byte; 1 and -1 are both set, but their 8-bit sum is zero.
    const std::tuple<const char*, const char*, bool, std::size_t> cases[] = {
        {"1", "1", true, 1}, {"256", "0", false, 0}, {"1", "-1", false, 1}};
    for (const auto& [a, b, modelB, notices] : cases) {
        NoticeRecorder rec;
        const std::string text =
            replaced(replaced(kToday, "Mode_isModeA=0", std::string("Mode_isModeA=") + a),
                     "Mode_isModeB=0", std::string("Mode_isModeB=") + b);
        int sender = 0;
        const auto r = parseRetStockServerData(text, &sender);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->at(k::STOCK_Trend_ModeB).toBool(), modelB) << a << "," << b;
        ASSERT_EQ(rec.notes.size(), notices) << a << "," << b;
        if (!modelB) continue;
        EXPECT_EQ(r->at(k::STOCK_Discription).string().rfind("技术形态和模型B相似; 上涨趋势", 0),
                  0u);
        EXPECT_EQ(rec.notes[0].object, &sender);
        EXPECT_EQ(rec.notes[0].userInfo, (Dictionary{{k::StockCode, "600000"},
                                                     {k::MsgDate, "2025-09-03"},
                                                     {k::MsgDate_Check, "2025-09-02"},
                                                     {k::STOCK_closePrice, "10.50"},
                                                     {k::STOCK_ModeB_BUY_A, true},
                                                     {k::STOCK_ModeB_BUY_B, true}}));
    }
}

TEST(ResultFile, DescriptionsByTrend) {
    const std::tuple<int, int, float, bool, const char*> cases[] = {
        {2, 150, 1, false, "下降趋势"},
        {7, 150, 1, false, "没有判断出趋势,得分:150"},
        {-1, 90, 1, false, "没有判断出趋势,得分:90"},
        {0, 100, 1, false, "趋势不明,得分:100"},
        {3, 120, 1, true, "技术形态和模型B相似; 盘整状态; 得分:120"},
        {1001, 180, 1.005f, false, "突破关键点,得分:180 ;5日涨幅为1.00%, 10日涨幅为2.00%"},
    };
    for (const auto& [trend, score, gain5, modelB, text] : cases)
        EXPECT_EQ(stockDescription(trend, score, gain5, 2, modelB), text) << trend;
}

namespace {
std::string earlierDay(const std::string& volume, const std::string& yes,
                       const std::string& close) {
    return "curStockCode=600000\nOneTrade_date=2025-09-01\nyesterdayClosePrice=" + yes +
           "\nOneTrade_openPrice=1\nOneTrade_closePrice=" + close +
           "\nOneTrade_highPrice=1\nOneTrade_lowPrice=1\ntrend=3\nstockScore=110\nMode_isModeA=0\n"
           "Mode_isModeB=0\ngains5Days=1\ngains10Days=2\nOneTrade_volumeData=" +
           volume + "\nMode_modeBClosePrice=1\nMode_MsgCheckDate=2025-08-29\n";
}
}  // namespace

TEST(ResultFile, EarlierDayRejections) {
    EXPECT_FALSE(parseRetStockHistordayData(earlierDay("9.5", "10", "10"), nullptr));
    auto r = parseRetStockHistordayData(earlierDay("10", "0", "0.02"), nullptr);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->count(k::STOCK_DICTINFO_Before5Days), 0u);
    EXPECT_EQ(r->at(k::STOCK_Discription).string(), "盘整状态; 得分:110");
    // The single-precision 0.01 lies below the double 0.01.
    EXPECT_FALSE(parseRetStockHistordayData(earlierDay("10", "0.01", "0.01"), nullptr));
    // No code check for earlier days.
    EXPECT_TRUE(
        parseRetStockHistordayData(replaced(earlierDay("100", "1", "1"), "600000", "6"), nullptr));
}
