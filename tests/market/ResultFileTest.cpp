#include "orvane/market/ResultFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/BoundedSubstring.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

/// Today's result file of 600000: trend 1, score 135, model B five days before.
const std::string kToday = [] {
    const char* src = std::getenv("ORVANE_SOURCE_DIR");
    auto path = std::filesystem::path(src ? src : ".") / "tests/market/fixtures/today-result.txt";
    return readFile(path).value_or("");
}();

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

TEST(ResultFile, TodayFileGivesFullRecordOrNothing) {
    NoticeRecorder rec;
    auto r = parseRetStockServerData(kToday, nullptr);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->closePrice, "10.50");
    EXPECT_EQ(r->description, "上涨趋势,得分:135 ;5日涨幅为3.25%, 10日涨幅为-1.50%");
    ASSERT_TRUE(r->before5Days);
    const StockRecord& before = *r->before5Days;
    EXPECT_EQ(before.code, "600000");
    EXPECT_EQ(before.date, "2025-08-27");
    EXPECT_EQ(before.trend, 3);
    EXPECT_EQ(before.modeB, true);
    EXPECT_EQ(before.gain10, 1.25f);
    EXPECT_FALSE(before.score);  // the file gives no score of that day
    EXPECT_TRUE(rec.notes.empty());
    // A longer key listed first shadows its tail.
    r = parseRetStockServerData("before_trend=3\n" + replaced(kToday, "before_trend=3\n", ""),
                                nullptr);
    EXPECT_EQ(r->trend, 3);

    std::string crlf;
    for (char c : kToday) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {replaced(kToday, "600000", "60000"), crlf, std::string()})
        EXPECT_FALSE(parseRetStockServerData(text, nullptr)) << text;
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
        EXPECT_EQ(r->modeB, modelB) << a << "," << b;
        ASSERT_EQ(rec.notes.size(), notices) << a << "," << b;
        if (!modelB) continue;
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
        {0, 100, 1, false, "趋势不明,得分:100"},
        {3, 120, 1, true, "技术形态和模型B相似; 盘整状态; 得分:120"},
        {1001, 180, 1.005f, false, "突破关键点,得分:180 ;5日涨幅为1.00%, 10日涨幅为2.00%"},
    };
    for (const auto& [trend, score, gain5, modelB, text] : cases)
        EXPECT_EQ(stockDescription(trend, score, gain5, 2, modelB), text) << trend;
}

TEST(ResultFile, EarlierDayRejections) {
    const auto earlierDay = [](const std::string& volume, const std::string& yes,
                               const std::string& close) {
        return "curStockCode=6\nOneTrade_date=2025-09-01\nyesterdayClosePrice=" + yes +
               "\nOneTrade_closePrice=" + close + "\ntrend=3\nstockScore=110\n" +
               "OneTrade_volumeData=" + volume + "\n";
    };
    EXPECT_FALSE(parseRetStockHistordayData(earlierDay("9.5", "10", "10"), nullptr));
    // The single-precision 0.01 lies below the double 0.01.
    EXPECT_FALSE(parseRetStockHistordayData(earlierDay("10", "0.01", "0.01"), nullptr));
    // One close is enough; a short code is no reason to reject.
    auto r = parseRetStockHistordayData(earlierDay("10", "0", "0.02"), nullptr);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->before5Days);
    EXPECT_EQ(r->description, "盘整状态; 得分:110");
}
