// The main window's rules that need no window: the verdict display and the
// search field.

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "application/DataFreshness.h"
#include "mainwindow/StockSearch.h"
#include "mainwindow/VerdictDisplay.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
using namespace orvane::app;
namespace k = orvane::keys;
using namespace std::chrono_literals;

namespace {

StockRecord record(int trend, int score, const char* close = "10.50") {
    return StockRecord::fromDictionary({{k::STOCK_Code, "600000"},
                                        {k::STOCK_Trend, trend},
                                        {k::STOCK_SCORE, score},
                                        {k::KEY_Gain_5Days, 3.456f},
                                        {k::KEY_Gain_10Days, -1.2f},
                                        {k::STOCK_DATE, "2024-05-06"},
                                        {k::STOCK_OpenPrice, "10.00"},
                                        {k::STOCK_closePrice, close},
                                        {k::STOCK_YesClosePrice, "10.00"},
                                        {k::STOCK_HighPrice, "10.60"},
                                        {k::STOCK_LowPrice, "9.80"},
                                        {k::STOCK_Trend_ModeB, trend == 1001 ? 1 : 0}});
}

}  // namespace

TEST(VerdictDisplay, TextAndColourFollowTheTrendAndTheScore) {
    struct Case {
        int trend, score;
        std::string text;
        Rgb colour;
    };
    const std::string gains = ",\r\n 5日涨幅为3.46%,\r\n 10日涨幅为-1.20%";
    const Case cases[] = {
        {0, 191, "600000 趋势不明,得分:191 " + gains, colours::black},
        {0, 192, "600000 趋势不明,得分:192 " + gains, colours::orange},
        {1, 80, "600000 是上涨趋势,得分:80 " + gains, colours::black},
        {2, 80, "600000 是下降趋势", colours::black},
        {3, 80, "600000 是盘整状态， 得分:80 " + gains, colours::black},
        {1000, 80, "注意  600000 正在加速上涨,得分:80 " + gains, colours::red},
        {1001, 169, "注意 600000 突破关键点,得分:169" + gains, colours::magenta},
        {1001, 170, "注意 600000 突破关键点,得分:170" + gains, colours::red},
        {-1, 5, "600000 没有判断出趋势,得分:5 " + gains, colours::magenta},
    };
    for (const Case& c : cases) {
        const VerdictView view = makeVerdictView(record(c.trend, c.score), 0);
        EXPECT_EQ(view.verdict, c.text) << c.trend << " " << c.score;
        EXPECT_EQ(view.verdictColour, c.colour) << c.trend << " " << c.score;
        EXPECT_EQ(view.modeB, c.trend == 1001);
    }
}

TEST(VerdictDisplay, PricesChangeRangeAndTheSuspendedStock) {
    VerdictView view = makeVerdictView(record(1, 100), 49);
    EXPECT_EQ(view.codeColour, (Rgb{1.0, 49 / 100.1, 0.3}));
    EXPECT_EQ(view.day, "2024-05-06");
    EXPECT_EQ(view.change, "5.00%");
    EXPECT_EQ(view.range, "8.16%");
    EXPECT_EQ(view.closeColour, colours::risingRed);

    view = makeVerdictView(record(1, 100, "9.90"), 0);
    EXPECT_EQ(view.change, "-1.00%");
    EXPECT_EQ(view.changeColour, colours::fallingGreen);

    view = makeVerdictView(record(1, 100, "0.00"), 0);
    EXPECT_EQ(view.close, "停牌");
    for (const std::string* dashes : {&view.change, &view.open, &view.yesClose})
        EXPECT_EQ(*dashes, "---");
    EXPECT_EQ(view.closeColour, colours::fallingGreen);
    EXPECT_EQ(view.changeColour, colours::fallingGreen);
}

class SearchFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(writeFileAtomically(
            codeFile, *utf8ToUtf16("600000\t浦发银行\tPFYH\n600006\t东风汽车\tDFQC\n"
                                   "000001\t平安银行\tPAYH\n012345\t南大建设\tNDJS\n")));
        std::filesystem::create_directories(dir.path() / "plate");
        ASSERT_TRUE(writeFileAtomically(dir.path() / "plate/银行.txt", "600000\n000001\n"));
    }
    SearchFieldChange changed(std::string_view text) {
        return searchTextChanged(
            text, {codes, sectors, [&](std::string_view c) { return c == held; }, "%s（%s）"});
    }

    test::TempDataDir dir;
    std::filesystem::path codeFile = dir.path() / "code.txt";
    CodeTable codes{codeFile};
    SectorGroups sectors{dir.path() / "plate", dir.path() / "composit"};
    std::string held = "000001";
};

TEST(VerdictDisplay, TheDayItJudges) {
    EXPECT_EQ(judgedDayText("2026-12-07"), "2026-12-07 收盘判断");
    EXPECT_EQ(judgedDayText("2026-12-07 15:00:00"), "2026-12-07 收盘判断");
    EXPECT_EQ(judgedDayText("2026-12-08 10:31:05"), "2026-12-08 10:31 盘中判断");
    EXPECT_EQ(judgedDayText(""), "");
}

TEST_F(SearchFieldTest, CompletionsAndTheTokenOfAPickedOne) {
    EXPECT_EQ(completionStrings(codes, "6000"),
              (std::vector<std::string>{"浦发银行 (600000)    ", "东风汽车 (600006)    "}));
    EXPECT_EQ(completionStrings(codes, "PA"), (std::vector<std::string>{"平安银行 (000001)    "}));
    EXPECT_TRUE(completionStrings(codes, "600").empty());
    EXPECT_EQ(tokenDisplayString("浦发银行 (600000)    "), "600000");
    EXPECT_EQ(tokenDisplayString("600000"), "600000");
}

TEST_F(SearchFieldTest, ChangedTextByLengthCodeAndName) {
    SearchFieldChange c = changed("6");
    EXPECT_FALSE(c.status || c.name || c.clearVerdict || c.addEnabled);

    c = changed("60000a");
    EXPECT_EQ(c.status, "错误的股票代码");
    EXPECT_EQ(c.name, "");
    EXPECT_FALSE(c.clearVerdict);

    c = changed("600000");
    EXPECT_EQ(c.name, "浦发银行");
    EXPECT_EQ(c.status, "600000 属于板块:银行 \r\n");
    EXPECT_EQ(c.caption, "浦发银行（600000）");
    EXPECT_TRUE(c.addEnabled && c.clearVerdict);
    EXPECT_FALSE(changed("000001").addEnabled);  // held already

    c = changed("平安银行");
    EXPECT_EQ(c.searchText, "000001");
    EXPECT_EQ(c.name, "平安银行");
    EXPECT_EQ(c.code, "000001");
    EXPECT_EQ(c.caption, "平安银行（000001）");  // the stock the name stands for
    // A text that is neither a listed code nor a name names no stock, even
    // when its number is some stock's code.
    c = changed("6000");
    EXPECT_FALSE(c.code || c.caption);
    c = changed("12345");  // 012345 is listed, but 12345 is not its code
    EXPECT_FALSE(c.code || c.caption);
    EXPECT_FALSE(changed("999999").code);
    c = changed("不存在的");
    EXPECT_EQ(c.status, "错误的股票代码");
    EXPECT_EQ(c.name, "");
}

TEST(StockCaption, PlaceholdersTakeTheArgumentsAndNothingElseIsInterpreted) {
    EXPECT_EQ(stockCaption("%@ (%s) %d %s", "名", "600000"), "名 (600000) %d %s");
}

TEST(DataFreshness, TheNoticeNamesTheLastGoodAnswerUntilBothAnswerAgain) {
    DataFreshness freshness;
    const TimePoint t0 = fromLocal({2024, 5, 6, 10, 15, 0});
    EXPECT_FALSE(freshness.record(DataFreshness::Source::DataServer, true, t0));
    EXPECT_FALSE(freshness.staleNotice());
    EXPECT_TRUE(freshness.record(DataFreshness::Source::DataServer, false, t0 + 30s));
    EXPECT_FALSE(freshness.record(DataFreshness::Source::DataServer, false, t0 + 60s));
    EXPECT_EQ(freshness.staleNotice(), "行情数据停留在 10:15:00：数据服务器无响应");
    EXPECT_TRUE(freshness.record(DataFreshness::Source::DataServer, true, t0 + 90s));
    EXPECT_TRUE(freshness.record(DataFreshness::Source::QuoteService, false, t0 + 95s));
    EXPECT_EQ(freshness.staleNotice(), "行情数据停留在 10:16:35：行情服务无响应");
}
