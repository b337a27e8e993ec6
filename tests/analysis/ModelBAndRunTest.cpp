#include <gtest/gtest.h>

#include <fstream>
#include <thread>
#include <vector>

#include "HistoryBuilder.h"
#include "TempDataDir.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/ModelB.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
using test::HistoryBuilder;
using Parsed = test::ParsedText;
namespace k = orvane::keys;

namespace {

// A long flat base at 1.0, so buy point A depends on today's jump alone.
std::string flatBase() {
    return HistoryBuilder().flat(60, 1.0).text();
}

// A plateau at 2.0 over days 1 to J on a base at 1.83: buy point A holds on
// the historical days J - 1 and J.
std::string plateauFromDay(int J) {
    return HistoryBuilder().flat(J, 2.0).flat(80, 1.83).text();
}

TodayTrade trade(float close, float yesClose) {
    return {"600000", close, close, yesClose};
}

}  // namespace

TEST(ModelB, BuyPointAThreeDayRiseBoundary) {
    Parsed p(flatBase());
    // 1.0888 in single precision lies below the double 1.0888.
    EXPECT_FALSE(FilterModeB_BuyA(p.view(), trade(1.0888f, 1.0f)));
    EXPECT_TRUE(FilterModeB_BuyA(p.view(), trade(1.09f, 1.0f)));
    // Too far above the hundred-day high.
    EXPECT_FALSE(FilterModeB_BuyA(p.view(), trade(1.16f, 1.0f)));
}

TEST(ModelB, BuyPointANeedsFourteenDaysOfRegion) {
    Parsed thirteen(HistoryBuilder().flat(13, 1.0).flat(40, 0.85).text());
    EXPECT_FALSE(FilterModeB_BuyA(thirteen.view(), trade(1.09f, 1.0f)));
    Parsed fourteen(HistoryBuilder().flat(14, 1.0).flat(40, 0.85).text());
    EXPECT_TRUE(FilterModeB_BuyA(fourteen.view(), trade(1.09f, 1.0f)));
}

TEST(ModelB, BuyPointBBackTestsDaysThreeToThirteen) {
    const TodayTrade today = trade(2.1f, 2.0f);
    Parsed day2(plateauFromDay(2));
    EXPECT_FALSE(FilterModeB_BuyB(day2.view(), trade(2.1f, 2.0f)));
    Parsed day14(plateauFromDay(14));  // A holds on days 13 and 14
    EXPECT_TRUE(FilterModeB_BuyB(day14.view(), today));
    Parsed day15(plateauFromDay(15));  // A holds on days 14 and 15 only
    EXPECT_FALSE(FilterModeB_BuyB(day15.view(), today));
    // 2.09 / 2.0 is 1.045 in single precision, below the double 1.045.
    EXPECT_FALSE(FilterModeB_BuyB(day14.view(), trade(2.09f, 2.0f)));
}

TEST(ModelB, NoticeCarriesDatesCloseAndBothBuyPoints) {
    test::TempDataDir dir;
    test::FixedNow now(2025, 9, 3, 14, 30, 5);
    std::vector<Notification> notes;
    ScopedObserver observer(NotificationBus::shared(), notifications::Notifiation_TREND_MODEB,
                            [&](const Notification& n) { notes.push_back(n); });
    QXUtility engine;
    const Dictionary stock{
        {k::STOCK_Code, "600000"}, {k::STOCK_closePrice, "1.09"}, {k::STOCK_YesClosePrice, "1"}};
    EXPECT_TRUE(engine.FilterModeB(flatBase(), stock));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].object, &engine);
    const Dictionary& info = notes[0].userInfo;
    EXPECT_EQ(info.at(k::StockCode).string(), "600000");
    EXPECT_EQ(info.at(k::MsgDate).string(), "2025-09-03 14:30:05");
    EXPECT_EQ(info.at(k::MsgDate_Check).string(), "2025-09-03");
    EXPECT_EQ(info.at(k::STOCK_closePrice).toFloat(), 1.09f);
    EXPECT_TRUE(info.at(k::STOCK_ModeB_BUY_A).toBool());
    EXPECT_FALSE(info.at(k::STOCK_ModeB_BUY_B).toBool());

    // Day 1 without a date: the check date is the present time.
    notes.clear();
    std::string undated = HistoryBuilder().raw(",1,1,1,1,100000,1").flat(60, 1.0).text();
    EXPECT_TRUE(engine.FilterModeB(undated, stock));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].userInfo.at(k::MsgDate_Check).string(), "2025-09-03 14:30:05");
}

TEST(AnalysisRun, FallingTenDaysWithNothingElseGivesMinusOne) {
    HistoryBuilder b;
    b.days({8, 8.2, 8.5, 9, 9.5, 10, 10.5, 11, 11.5, 12}).flat(100, 12);
    Parsed p(b.text());
    AnalysisResult r = parseOneStockYahooHistoryFormToday(p.view(), trade(8, 8),
                                                          *parseDateTime("2025-09-03 15:00:00"));
    EXPECT_EQ(r.t10, kTrendFalling);
    EXPECT_EQ(r.trend, -1);
    EXPECT_FALSE(r.buyA);
    EXPECT_FALSE(r.accel);
}

TEST(AnalysisRun, RisingLongTermWithSidewaysTenDaysRunsModelB) {
    // Ten flat days at 10 on a 300-day ramp up from 5.
    HistoryBuilder b;
    b.flat(10, 10);
    for (int i = 0; i < 290; ++i) b.day(10 - i * (5.0 / 290));
    Parsed p(b.text());
    AnalysisResult r = parseOneStockYahooHistoryFormToday(p.view(), trade(10, 10),
                                                          *parseDateTime("2025-09-03 15:00:00"));
    EXPECT_EQ(r.t10, kTrendSideways);
    EXPECT_EQ(r.t300, kTrendRising);
    EXPECT_EQ(r.trend, 1);
    ASSERT_TRUE(r.buyA);
    ASSERT_TRUE(r.buyB);
    EXPECT_EQ(r.end5, 10.0f);
    EXPECT_EQ(gainPercent(11.0f, 10.0f), 10.0f);
}

TEST(QXUtility, RunsAreOneLockedUnit) {
    test::TempDataDir dir;
    const std::string a = flatBase();
    HistoryBuilder b;
    b.days({8, 8.2, 8.5, 9, 9.5, 10, 10.5, 11, 11.5, 12}).flat(100, 12);
    const std::string falling = b.text();
    const Dictionary sa{
        {k::STOCK_Code, "600000"}, {k::STOCK_closePrice, "1.09"}, {k::STOCK_YesClosePrice, "1"}};
    const Dictionary sb{
        {k::STOCK_Code, "000001"}, {k::STOCK_closePrice, "8"}, {k::STOCK_YesClosePrice, "8"}};
    QXUtility& engine = QXUtility::defQXUtility();
    const AnalysisResult expectA = engine.analyzeStock(a, sa),
                         expectB = engine.analyzeStock(falling, sb);
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                const bool useA = (i + t) % 2 == 0;
                AnalysisResult r =
                    useA ? engine.analyzeStock(a, sa) : engine.analyzeStock(falling, sb);
                const AnalysisResult& e = useA ? expectA : expectB;
                if (r.trend != e.trend || r.score != e.score || r.end5 != e.end5) ++mismatches;
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(static_cast<std::int32_t>(engine.getStockTrend()), engine.lastResult().trend);
}

TEST(AnalysisRun, HostileTextsGiveEmptyVerdicts) {
    const LocalDateTime now = *parseDateTime("2025-09-03 15:00:00");
    std::string binary;
    for (int i = 0; i < 20000; ++i) binary += static_cast<char>(i * 7919 % 256);
    std::string flat = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    for (int i = 0; i < 200000; ++i) flat += "2025-09-03,10.00,10.10,9.90,10.00,100000,10.00\n";
    for (const std::string& text : {std::string(), std::string("\n\n\n"), binary, flat}) {
        Parsed p(text);
        AnalysisResult r = parseOneStockYahooHistoryFormToday(p.view(), trade(10.9f, 10.0f), now);
        EXPECT_GE(r.score, 90);
        EXPECT_LE(r.score, 271);
        EXPECT_FALSE(r.modeB);
    }
}

TEST(QXUtility, LooksUpTheCodeTableAndSectors) {
    test::TempDataDir dir;
    std::filesystem::create_directories(dir.path() / "constdata/stockcode");
    std::filesystem::create_directories(dir.path() / "constdata/plate");
    std::ofstream(dir.path() / "constdata/stockcode/code.txt", std::ios::binary)
        << *utf8ToUtf16("600000\t浦发银行\tPFYH\n000001\t平安银行\tPAYH\n");
    std::ofstream(dir.path() / "constdata/plate/银行.txt") << "600000\n000001\n";
    QXUtility engine;
    EXPECT_EQ(engine.getStockCodeName("000001"), "平安银行");
    EXPECT_EQ(engine.getStockCodeFromName("浦发银行"), "600000");
    EXPECT_EQ(engine.searchStockSubKey("PF").size(), 1u);
    EXPECT_TRUE(QXUtility::isValidStockCode("600000"));
    EXPECT_FALSE(QXUtility::isValidStockCode("60000A"));
    EXPECT_EQ(engine.getPlantGroupNum("银行"), 2);
}
