#include "orvane/publisher/StockFiles.h"

#include <gtest/gtest.h>

#include "HistoryBuilder.h"
#include "TempDataDir.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"
#include "orvane/publisher/PricePatterns.h"
#include "orvane/publisher/ResultFileText.h"

using namespace orvane;
using namespace orvane::server;
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

TEST(StockFiles, FloatsReadBackExactlyResultFilesParseBackToTheEngineVerdicts) {
    for (float f : {3.25f, -1.5f, 0.1f, 1.0f / 3.0f, 123456.79f, -0.0f})
        EXPECT_EQ(leadingFloat(server::floatText(f)), f) << server::floatText(f);
    EXPECT_EQ(server::floatText(std::numeric_limits<float>::quiet_NaN()), "0");

    test::TempDataDir dir;
    // The history, today's file and 20 earlier days.
    EXPECT_EQ(server::writeStockFiles(dir.path(), "600000", kHistory, 20).files, 22u);
    const auto verdicts = server::computeDayVerdicts("600000", kHistory, 20);
    auto today = parseRetStockServerData(*readFile(dir.path() / "const/hisdata/retdata/600000.txt"),
                                         nullptr);
    ASSERT_TRUE(today);
    EXPECT_EQ(today->date, "2025-09-05");
    EXPECT_EQ(today->score, verdicts[0]->result.score);
    EXPECT_EQ(today->gain5, verdicts[0]->gain5);
    EXPECT_EQ(today->yesClosePrice, "11.92");
    ASSERT_TRUE(today->before5Days);
    const StockRecord& before = *today->before5Days;
    EXPECT_EQ(before.date, verdicts[5]->date);
    EXPECT_EQ(before.gain10, verdicts[5]->gain10);

    for (std::size_t n = 1; n <= 20; ++n) {
        auto path = dir.path() / ("const/hisdata/retdata/600000/" + std::to_string(n) + ".txt");
        auto day = parseRetStockHistordayData(*readFile(path), nullptr);
        ASSERT_TRUE(day) << n;
        EXPECT_EQ(day->date, verdicts[n]->date);
        EXPECT_EQ(day->trend, verdicts[n]->result.trend) << n;
    }
    EXPECT_EQ(*readFile(dir.path() / "const/hisdata/stockdata/600000.txt"), kHistory);
}

TEST(DayVerdicts, EachDayIsJudgedWithTheHistoryOneDayBehindMalformedLinesNot) {
    const auto verdicts = server::computeDayVerdicts("600000", kHistory, 3);
    // Day 2 (the third newest line): its own prices, the previous line's
    // close, and the history from the line after it on.
    ParsedHistory parsed(kHistory);
    auto lagging = HistoryView(parsed).dayView(4);
    const TodayTrade trade{"600000", parsed.line(3).open(), parsed.line(3).close,
                           parsed.line(4).close};
    LocalDateTime now = *parseDate(parsed.line(3).date);
    now.hour = 15;
    const AnalysisResult expect = parseOneStockYahooHistoryFormToday(*lagging, trade, now);
    ASSERT_TRUE(verdicts[2]);
    EXPECT_EQ(verdicts[2]->result.score, expect.score);
    EXPECT_EQ(verdicts[2]->checkDate, std::string(parsed.line(4).date));

    const auto broken = server::computeDayVerdicts(
        "600000", test::HistoryBuilder().day(10).raw("2025-09-02,1,2").flat(30, 10).text(), 3);
    EXPECT_FALSE(broken[0]);  // its previous day is broken
    EXPECT_FALSE(broken[1]);
    EXPECT_TRUE(broken[2]);
}

TEST(PricePatterns, CannonsNeedQuietDaysBigUpDaysAndAPause) {
    const struct {
        std::vector<double> last;  // after twenty quiet days at 10
        PatternType type;
    } cases[] = {
        {{10.6, 10.4, 11.2}, kPatternDoubleCannon},
        {{10.6, 10.4, 10.3, 10.2, 11.0}, kPatternDoubleCannon},
        {{10.6, 10.7, 11.3}, kPatternNone},  // no pause: a plain run of rises
        {{10.6, 9.9, 10.5}, kPatternNone},   // the second shot stays below the first
        // Too long ago: the second shot must be one of the last five days.
        {{10.6, 10.4, 11.2, 11.2, 11.2, 11.2, 11.2, 11.2}, kPatternNone},
        {{10.7}, kPatternSingleCannon},
        {{10.69}, kPatternNone},
        {{}, kPatternNone},
        // Not quiet: a 4% move among the last ten days.
        {{10, 10, 10, 10, 10.4, 10.4, 10.4, 10.4, 10.4, 10.4, 11.2}, kPatternNone},
    };
    for (const auto& c : cases) {
        std::vector<DailyBar> bars(20, {"2025-09-01", 10, 10, 10, 10, 1000});  // quiet days
        for (double close : c.last) bars.push_back({"2025-09-01", close, close, close, close, 1});
        EXPECT_EQ(patternType(bars), c.type) << testing::PrintToString(c.last);
    }
    EXPECT_FALSE(
        isDoubleCannon({{"2025-09-01", 10, 10, 10, 10, 1}, {"2025-09-02", 10, 10.6, 10, 10.6, 1}}));
}

TEST(StockFiles, ATreeFileIsWrittenOnlyWhenEveryStepSucceeds) {
    test::TempDataDir dir;
    const auto path = dir.path() / "a" / "b" / "600000.txt";
    ASSERT_TRUE(writeTreeFile(path, "bytes"));
    EXPECT_EQ(readFile(path), "bytes");
    // A folder that cannot be made (a file stands in its place).
    EXPECT_FALSE(writeTreeFile(path / "below", "bytes"));
    // A full device: a short file fails only when the buffer is written out
    // on closing, a long one while it is written.
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(writeTreeFile("/dev/full", "short"));
    EXPECT_FALSE(writeTreeFile("/dev/full", std::string(1 << 20, 'x')));
}
