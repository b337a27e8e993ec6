#include "orvane/publisher/StockFiles.h"

#include <gtest/gtest.h>

#include "HistoryBuilder.h"
#include "TempDataDir.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"
#include "orvane/publisher/ResultFileText.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

// A stock that consolidates, jumps and keeps rising: a spread of verdicts.
const std::string kHistory = test::HistoryBuilder("2025-09-05")
                                 .ramp(12, 12.0, -0.08)
                                 .day(10.9)
                                 .flat(40, 10.0)
                                 .ramp(260, 10.0, -0.015, 50000, 100)
                                 .text();

}  // namespace

TEST(FloatText, ReadsBackExactly) {
    for (float f : {3.25f, -1.5f, 0.1f, 1.0f / 3.0f, 123456.79f, -0.0f})
        EXPECT_EQ(leadingFloat(server::floatText(f)), f) << server::floatText(f);
    EXPECT_EQ(server::floatText(std::numeric_limits<float>::quiet_NaN()), "0");
}

TEST(StockFiles, ResultFilesParseBackToTheEngineVerdicts) {
    test::TempDataDir dir;
    const std::string& history = kHistory;
    const auto report = server::writeStockFiles(dir.path(), "600000", history, 20);
    EXPECT_EQ(report.files, 22u);  // history, today's file, 20 earlier days
    const auto verdicts = server::computeDayVerdicts("600000", history, 20);

    auto today = parseRetStockServerData(*readFile(dir.path() / "const/hisdata/retdata/600000.txt"),
                                         nullptr);
    ASSERT_TRUE(today);
    const server::DayVerdict& v0 = *verdicts[0];
    EXPECT_EQ(today->at(k::STOCK_DATE).string(), "2025-09-05");
    EXPECT_EQ(today->at(k::STOCK_Trend).toInteger(), v0.result.trend);
    EXPECT_EQ(today->at(k::STOCK_SCORE).toInteger(), v0.result.score);
    EXPECT_EQ(today->at(k::KEY_Gain_5Days).toFloat(), v0.gain5);
    EXPECT_EQ(today->at(k::STOCK_YesClosePrice).string(), "11.92");
    const Dictionary& before = today->at(k::STOCK_DICTINFO_Before5Days).dictionary();
    EXPECT_EQ(before.at(k::STOCK_DATE).string(), verdicts[5]->date);
    EXPECT_EQ(before.at(k::STOCK_Trend).toInteger(), verdicts[5]->result.trend);
    EXPECT_EQ(before.at(k::KEY_Gain_10Days).toFloat(), verdicts[5]->gain10);

    for (int n = 1; n <= 20; ++n) {
        auto path = dir.path() / ("const/hisdata/retdata/600000/" + std::to_string(n) + ".txt");
        auto day = parseRetStockHistordayData(*readFile(path), nullptr);
        ASSERT_TRUE(day) << n;
        const server::DayVerdict& v = *verdicts[static_cast<std::size_t>(n)];
        EXPECT_EQ(day->at(k::STOCK_DATE).string(), v.date);
        EXPECT_EQ(day->at(k::STOCK_Trend).toInteger(), v.result.trend) << n;
        EXPECT_EQ(day->at(k::KEY_Gain_10Days).toFloat(), v.gain10) << n;
        EXPECT_EQ(day->at(k::STOCK_Trend_ModeB).toBool(), v.result.modeB) << n;
    }
    EXPECT_EQ(*readFile(dir.path() / "const/hisdata/stockdata/600000.txt"), history);
}

TEST(DayVerdicts, EachDayIsJudgedWithTheHistoryOneDayBehind) {
    const std::string& history = kHistory;
    const auto verdicts = server::computeDayVerdicts("600000", history, 3);
    // Day 2 (the third newest line): its own prices, the previous line's
    // close, and the history from the line after it on.
    ParsedHistory parsed(history);
    auto lagging = HistoryView(parsed).dayView(4);
    const TodayTrade trade{"600000", parsed.line(3).open, parsed.line(3).close,
                           parsed.line(4).close};
    LocalDateTime now = *parseDate(parsed.line(3).date);
    now.hour = 15;
    const AnalysisResult expect = parseOneStockYahooHistoryFormToday(*lagging, trade, now);
    ASSERT_TRUE(verdicts[2]);
    EXPECT_EQ(verdicts[2]->result.trend, expect.trend);
    EXPECT_EQ(verdicts[2]->result.score, expect.score);
    EXPECT_EQ(verdicts[2]->checkDate, std::string(parsed.line(4).date));
}

TEST(DayVerdicts, MalformedLinesHaveNoVerdict) {
    std::string history = test::HistoryBuilder().day(10).raw("2025-09-02,1,2").flat(30, 10).text();
    const auto verdicts = server::computeDayVerdicts("600000", history, 3);
    EXPECT_FALSE(verdicts[0]);  // its previous day is broken
    EXPECT_FALSE(verdicts[1]);
    EXPECT_TRUE(verdicts[2]);
    EXPECT_TRUE(server::computeDayVerdicts("600000", "", 3)[0] == std::nullopt);
}
