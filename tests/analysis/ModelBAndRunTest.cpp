#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "HistoryBuilder.h"
#include "TempDataDir.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/AnalysisSession.h"
#include "orvane/analysis/ModelB.h"
#include "orvane/analysis/StockBoxInfo.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
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

TEST(ModelB, BuyPointBoundaries) {
    // 1.0888 in single precision lies below the double 1.0888; 1.16 is too far
    // above the hundred-day high; the region needs fourteen days.
    const std::string thirteen = HistoryBuilder().flat(13, 1.0).flat(40, 0.85).text();
    const std::string fourteen = HistoryBuilder().flat(14, 1.0).flat(40, 0.85).text();
    const struct {
        std::string text;
        float close;
        bool buyA;
    } a[] = {{flatBase(), 1.0888f, false},
             {flatBase(), 1.09f, true},
             {flatBase(), 1.16f, false},
             {thirteen, 1.09f, false},
             {fourteen, 1.09f, true}};
    for (const auto& c : a)
        EXPECT_EQ(FilterModeB_BuyA(Parsed(c.text).view(), trade(c.close, 1.0f)), c.buyA) << c.close;

    // Buy point B back-tests days 3 to 13: A holds on days J - 1 and J.
    // 2.09 / 2.0 is 1.045 in single precision, below the double 1.045.
    const struct {
        int plateau;
        float close;
        bool buyB;
    } b[] = {{2, 2.1f, false}, {14, 2.1f, true}, {15, 2.1f, false}, {14, 2.09f, false}};
    for (const auto& c : b)
        EXPECT_EQ(FilterModeB_BuyB(Parsed(plateauFromDay(c.plateau)).view(), trade(c.close, 2.0f)),
                  c.buyB)
            << c.plateau << " " << c.close;
}

TEST(ModelB, NoticeCarriesDatesCloseAndBothBuyPoints) {
    test::FixedNow now(2025, 9, 3, 14, 30, 5);
    const TodayTrade today = trade(1.09f, 1.0f);
    Parsed p(flatBase());
    const ModelBAnswer answer = FilterModeB(p.view(), today);
    ASSERT_TRUE(answer.found());
    const Dictionary info = modelBNoticeInfo(p.view(), today, answer, toLocal(orvane::now()));
    EXPECT_EQ(info.at(k::StockCode).string(), "600000");
    EXPECT_EQ(info.at(k::MsgDate).string(), "2025-09-03 14:30:05");
    EXPECT_EQ(info.at(k::MsgDate_Check).string(), "2025-09-03");
    EXPECT_EQ(info.at(k::STOCK_closePrice).toFloat(), 1.09f);
    EXPECT_TRUE(info.at(k::STOCK_ModeB_BUY_A).toBool());
    EXPECT_FALSE(info.at(k::STOCK_ModeB_BUY_B).toBool());

    // Day 1 without a date: the check date is the present time.
    Parsed undated(HistoryBuilder().raw(",1,1,1,1,100000,1").flat(60, 1.0).text());
    const Dictionary late = modelBNoticeInfo(
        undated.view(), today, FilterModeB(undated.view(), today), toLocal(orvane::now()));
    EXPECT_EQ(late.at(k::MsgDate_Check).string(), "2025-09-03 14:30:05");
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

// Several threads run different stocks through the door at once; each reads
// its own stock's results and dictionary, and the engine announces model B.
TEST(AnalysisSession, ThreadsEachReadTheirOwnStock) {
    test::TempDataDir dir;
    QXUtility engine;
    std::atomic<int> notices{0};
    ScopedObserver observer(NotificationBus::shared(), notifications::Notifiation_TREND_MODEB,
                            [&](const Notification& n) { notices += n.object == &engine; });
    // A plateau at 2.0 over a base at 1.83 on a long rise from 1.2: model B
    // by buy point B, by buy point A, and twice not.
    const std::pair<int, const char*> specs[] = {
        {14, "2.10"}, {20, "2.18"}, {14, "2.02"}, {20, "2.05"}};
    struct Stock {
        std::string text;
        Dictionary today;
        AnalysisResult expected;
    };
    std::vector<Stock> stocks;
    for (const auto& [plateau, close] : specs) {
        HistoryBuilder b;
        b.flat(plateau, 2.0).flat(60, 1.83);
        const int ramp = 240 - plateau;
        for (int d = 0; d < ramp; ++d) b.day(1.83 - 0.63 * d / ramp);
        const Dictionary today{{k::STOCK_Code, "60000" + std::to_string(stocks.size())},
                               {k::STOCK_OpenPrice, close},
                               {k::STOCK_closePrice, close},
                               {k::STOCK_YesClosePrice, "2.00"}};
        stocks.push_back({b.text(), today, engine.analyzeStock(b.text(), today)});
    }
    ASSERT_EQ(notices.load(), 2);
    EXPECT_TRUE(*stocks[0].expected.buyB && *stocks[1].expected.buyA && !stocks[2].expected.modeB);
    EXPECT_EQ(stocks[0].expected.end5, 2.0f);
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (const Stock& s : stocks)
        threads.emplace_back([&] {
            for (int round = 0; round < 25; ++round) {
                AnalysisSession session(engine);
                mismatches += session.getStockTrend() != 0 || session.getMarkScore() != 100;
                session.parseOneStockYahooHistoryFormToday(s.text, 0, s.today);
                std::this_thread::yield();
                const AnalysisResult& r = session.lastResult();
                mismatches += r.score != s.expected.score || r.buyA != s.expected.buyA ||
                              r.buyB != s.expected.buyB || session.getStockTrend() != 1u ||
                              session.stockTrendIsModeB() != s.expected.modeB ||
                              session.getTodayDiction() != s.today;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(notices.load(), 2 * 26);
}
