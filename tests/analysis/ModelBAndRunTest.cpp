#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "HistoryBuilder.h"
#include "TempDataDir.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/AnalysisSession.h"
#include "orvane/analysis/ModelB.h"
#include "orvane/analysis/TrendNames.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
using test::HistoryBuilder;
using Parsed = test::ParsedText;
namespace k = orvane::keys;

static TodayTrade trade(float close, float yesClose) {
    return {"600000", close, close, yesClose};
}

TEST(ModelB, BuyPointBoundaries) {
    // A: 1.0888f lies below the double 1.0888; 1.16 is too far above the
    // hundred-day high; the region needs fourteen days. B back-tests days 3 to
    // 13 (A on the plateau's last two days); 2.09f / 2.0f lies below the double 1.045.
    const struct {
        bool pointB;
        int plateau;
        float close;
        bool buy;
    } cases[] = {{false, 60, 1.0888f, false}, {false, 60, 1.09f, true}, {false, 60, 1.16f, false},
                 {false, 13, 1.09f, false},   {false, 14, 1.09f, true}, {true, 2, 2.1f, false},
                 {true, 14, 2.1f, true},      {true, 15, 2.1f, false},  {true, 14, 2.09f, false}};
    for (const auto& c : cases) {
        const float base = c.pointB ? 2.0f : 1.0f;
        Parsed p(HistoryBuilder().flat(c.plateau, base).flat(80, c.pointB ? 1.83 : 0.85).text());
        EXPECT_EQ((c.pointB ? FilterModeB_BuyB : FilterModeB_BuyA)(p.view(), trade(c.close, base)),
                  c.buy)
            << c.pointB << " " << c.plateau << " " << c.close;
    }
}

TEST(ModelB, NoticeDatesAnUndatedDayOneWithThePresent) {
    test::FixedNow now(2025, 9, 3, 14, 30, 5);
    const TodayTrade today = trade(1.09f, 1.0f);
    for (const char* first : {"2025-09-03", ""}) {
        Parsed p(
            HistoryBuilder().raw(std::string(first) + ",1,1,1,1,100000,1").flat(60, 1.0).text());
        const ModelBAnswer answer = FilterModeB(p.view(), today);
        ASSERT_TRUE(answer.found());
        const Dictionary info = modelBNoticeInfo(p.view(), today, answer, toLocal(orvane::now()));
        EXPECT_EQ(info.at(k::MsgDate).string(), "2025-09-03 14:30:05");
        EXPECT_EQ(info.at(k::MsgDate_Check).string(),
                  *first ? "2025-09-03" : "2025-09-03 14:30:05");
        EXPECT_TRUE(info.at(k::STOCK_ModeB_BUY_A).toBool());
    }
}

TEST(AnalysisRun, HostileTextsGiveEmptyVerdicts) {
    std::string binary, flat = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    for (int i = 0; i < 20000; ++i) binary += static_cast<char>(i * 7919 % 256);
    for (int i = 0; i < 200000; ++i) flat += "2025-09-03,10.00,10.10,9.90,10.00,100000,10.00\n";
    for (const std::string& text : {std::string("\n\n\n"), binary, flat}) {
        AnalysisResult r = parseOneStockYahooHistoryFormToday(
            Parsed(text).view(), trade(10.9f, 10.0f), *parseDateTime("2025-09-03 15:00:00"));
        EXPECT_LE(r.score, 271);
        EXPECT_FALSE(r.modeB);
    }
}

// Threads run different stocks through sessions at once; each reads its own
// stock's results, and the engine announces model B.
TEST(AnalysisSession, ThreadsEachReadTheirOwnStock) {
    test::TempDataDir dir;
    QXUtility engine;
    std::atomic<int> notices{0};
    ScopedObserver observer(NotificationBus::shared(), notifications::Notifiation_TREND_MODEB,
                            [&](const Notification& n) { notices += n.object == &engine; });
    // A plateau at 2.0 over 1.83 on a long rise: model B by B, by A, then not.
    struct Stock {
        std::string text;
        Dictionary today;
        AnalysisResult expected;
    };
    std::vector<Stock> stocks;
    for (const auto& [plateau, close] : {std::pair{14, "2.10"}, {20, "2.18"}, {14, "2.02"}}) {
        HistoryBuilder b;
        b.flat(plateau, 2.0).flat(60, 1.83).ramp(240 - plateau, 1.83, -0.63 / (240 - plateau));
        const Dictionary today{{k::STOCK_Code, "60000" + std::to_string(stocks.size())},
                               {k::STOCK_OpenPrice, close},
                               {k::STOCK_closePrice, close},
                               {k::STOCK_YesClosePrice, "2.00"}};
        stocks.push_back({b.text(), today, engine.analyzeStock(b.text(), today)});
    }
    ASSERT_EQ(notices.load(), 2);
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (const Stock& s : stocks)
        threads.emplace_back([&] {
            for (int round = 0; round < 25; ++round) {
                AnalysisSession session(engine);
                session.parseOneStockYahooHistoryFormToday(s.text, 0, s.today);
                std::this_thread::yield();
                const AnalysisResult& r = session.lastResult();
                mismatches += r.score != s.expected.score || r.buyB != s.expected.buyB ||
                              session.stockTrendIsModeB() != s.expected.modeB ||
                              session.getTodayDiction() != s.today;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(notices.load(), 2 * 26);
}

// The names of the trend codes are the verdicts' own words, −1 and unknown
// codes included (the verdict of "no trend determined").
TEST(TrendNames, AreTheVerdictsWords) {
    for (const std::int32_t code : {-1, 0, 1, 2, 3, 1000, 1001, 7}) {
        const std::string verdict = stockDescription(code, 120, 1.0f, 2.0f, false);
        EXPECT_TRUE(verdict.starts_with(trendName(code))) << code << " " << verdict;
        EXPECT_FALSE(englishTrendName(code).empty());
    }
    EXPECT_EQ(trendName(-1), trendName(7));
    EXPECT_EQ(englishTrendName(-1), "no trend found");
    EXPECT_NE(englishTrendName(1), englishTrendName(1000));
}
