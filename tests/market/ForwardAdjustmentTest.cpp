#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>

#include "orvane/market/AdjustmentInputs.h"
#include "orvane/market/ExRightsGaps.h"
#include "orvane/market/ForwardAdjustment.h"
#include "orvane/market/MarketAdjustment.h"
#include "orvane/market/PriceLimits.h"

namespace orvane {
namespace {

DailyBar bar(std::string date, double close, double volume = 1000) {
    return {std::move(date), close, close, close, close, volume};
}

std::vector<double> closes(const std::vector<DailyBar>& bars) {
    std::vector<double> out;
    for (const auto& b : bars) out.push_back(std::round(b.close * 100) / 100);
    return out;
}

// Four days around an ex-date, 2024-06-12, on which the close fell as the
// event says.
std::vector<DailyBar> aroundExDate(double closeBefore, double closeAfter) {
    return {bar("2024-06-07", closeBefore), bar("2024-06-11", closeBefore),
            bar("2024-06-12", closeAfter), bar("2024-06-13", closeAfter)};
}

TEST(ForwardAdjustment, HandWorkedEvents) {
    // 10 bonus shares for 10 halve every earlier price and double its volume.
    ExRightsEvent bonus{"2024-06-12", 0, 10, 0, 0, 0};
    auto bars =
        forwardAdjusted(aroundExDate(20, 10), stepsFromEvents(aroundExDate(20, 10), {bonus}));
    EXPECT_EQ(closes(bars), (std::vector<double>{10, 10, 10, 10}));
    EXPECT_DOUBLE_EQ(bars[0].volume, 2000);
    EXPECT_DOUBLE_EQ(bars[3].volume, 1000);

    // 2 yuan for 10 shares on a close of 10: factor 0.98.
    ExRightsEvent cash{"2024-06-12", 2, 0, 0, 0, 0};
    const auto steps = stepsFromEvents(aroundExDate(10, 9.8), {cash});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_DOUBLE_EQ(steps[0].factor, 0.98);
    EXPECT_EQ(steps[0].exDate, "2024-06-12");

    // 10 bonus and 3 rights at 8 yuan on a close of 20: (20 + 2.4) / 2.3.
    ExRightsEvent both{"2024-06-12", 0, 10, 0, 3, 8};
    EXPECT_NEAR(exRightsReferencePrice(both, 20), 9.7391, 1e-4);
    bars = forwardAdjusted(aroundExDate(20, 9.74), stepsFromEvents(aroundExDate(20, 9.74), {both}));
    EXPECT_EQ(closes(bars), (std::vector<double>{9.74, 9.74, 9.74, 9.74}));
}

TEST(ForwardAdjustment, TwoEventsAndASuspendedExDate) {
    std::vector<DailyBar> bars{bar("2024-01-02", 20), bar("2024-01-03", 10), bar("2024-03-01", 10),
                               bar("2024-03-05", 9.8)};
    // The second event falls on 2024-03-04, a day without trading: the
    // close before it is 2024-03-01's, and only the days before move.
    const std::vector<ExRightsEvent> events{{"2024-03-04", 2, 0, 0, 0, 0},
                                            {"2024-01-03", 0, 10, 0, 0, 0}};
    const auto adjusted = forwardAdjusted(bars, stepsFromEvents(bars, events));
    EXPECT_EQ(closes(adjusted), (std::vector<double>{9.8, 9.8, 9.8, 9.8}));
    // The newest day stays as traded; an event after it changes nothing.
    EXPECT_DOUBLE_EQ(adjusted.back().close, 9.8);
    EXPECT_TRUE(stepsFromEvents(bars, {{"2024-04-01", 0, 10, 0, 0, 0}}).empty());
    EXPECT_TRUE(stepsFromEvents(bars, {{"2023-12-01", 0, 10, 0, 0, 0}}).empty());
}

TEST(ForwardAdjustment, FactorsPreviousClosesAndEventsAgreeToTheCent) {
    // A stock with a cash dividend and, later, a 10-for-10 transfer; the
    // exchange's ex-rights previous close is the reference price rounded to
    // the cent, and a vendor's cumulative factor follows from it.
    std::vector<DailyBar> bars{bar("2024-05-06", 12.34), bar("2024-05-07", 12.5),
                               bar("2024-05-08", 12.2),  bar("2024-05-09", 12.3),
                               bar("2024-07-01", 13.1),  bar("2024-07-02", 6.6),
                               bar("2024-07-03", 6.7)};
    const std::vector<ExRightsEvent> events{{"2024-05-08", 3.1, 0, 0, 0, 0},
                                            {"2024-07-02", 0, 0, 10, 0, 0}};
    const std::vector<double> previousCloses{0, 12.34, 12.19, 12.2, 12.3, 6.55, 6.6};
    std::vector<std::pair<std::string, double>> factors;
    double factor = 1;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (i > 0 && std::fabs(previousCloses[i] - bars[i - 1].close) >= 0.005)
            factor *= bars[i - 1].close / previousCloses[i];
        factors.emplace_back(bars[i].date, factor);
    }
    const auto fromEvents = closes(forwardAdjusted(bars, stepsFromEvents(bars, events)));
    EXPECT_EQ(closes(forwardAdjusted(bars, stepsFromAdjustmentFactors(bars, factors))), fromEvents);
    EXPECT_EQ(closes(forwardAdjusted(bars, stepsFromPreviousCloses(bars, previousCloses))),
              fromEvents);
    EXPECT_EQ(fromEvents.front(), 6.02);  // 12.34 * (12.19 / 12.5) * (6.55 / 13.1) = 6.017
}

// A market adjusted on two threads: each stock is shown as traded before
// it is adjusted, each from the first source that knows it, and the counts
// are the market's.
TEST(ForwardAdjustment, AMarketIsShownAsTradedThenAdjusted) {
    auto stock = [](std::string code, std::vector<double> previousCloses = {}) {
        StockSeries s;
        s.listing.code = std::move(code);
        s.bars = aroundExDate(20, 10);
        s.previousCloses = std::move(previousCloses);
        return s;
    };
    std::vector<StockSeries> market = {stock("600000"), stock("600001"),
                                       stock("600002", {20, 20, 10, 10})};
    ExRightsEvents events;
    events.byCode["600000"] = {{"2024-06-12", 0, 10, 0, 0, 0}};
    std::mutex lock;
    std::map<std::string, double> firstCloseSeen;
    auto seen = [&](const StockSeries& s) {
        const std::lock_guard hold(lock);
        firstCloseSeen[s.listing.code] = s.bars.front().close;
    };
    MarketAdjustmentSummary summary = adjustMarketForward(market, {&events, nullptr}, seen, 2);
    EXPECT_EQ(firstCloseSeen,
              (std::map<std::string, double>{{"600000", 20}, {"600001", 20}, {"600002", 20}}));
    EXPECT_EQ(closes(market[0].bars), (std::vector<double>{10, 10, 10, 10}));
    // A stock the events file does not name had no event, unless its own
    // previous closes tell of one.
    EXPECT_EQ(closes(market[1].bars), (std::vector<double>{20, 20, 10, 10}));
    EXPECT_EQ(closes(market[2].bars), (std::vector<double>{10, 10, 10, 10}));
    EXPECT_EQ(summary.stocksAdjusted, 2u);
    EXPECT_EQ(summary.exRightsDays, 2u);
    EXPECT_EQ(summary.stocksWithoutSource, 0u);

    // Without files, a layout's previous closes are the source, and are used up.
    market = {stock("600001"), stock("600002", {20, 20, 10, 10})};
    summary = adjustMarketForward(market, {}, {}, 2);
    EXPECT_EQ(closes(market[1].bars), (std::vector<double>{10, 10, 10, 10}));
    EXPECT_TRUE(market[1].previousCloses.empty());
    EXPECT_EQ(summary.stocksAdjusted, 1u);
    EXPECT_EQ(summary.stocksWithoutSource, 1u);
}

TEST(PriceLimits, FollowTheBoardAndTheDate) {
    EXPECT_EQ(dailyLimitOf(boardOf("600000"), "2024-01-02", false), 0.10);
    EXPECT_EQ(dailyLimitOf(boardOf("600000"), "2024-01-02", true), 0.05);
    EXPECT_EQ(dailyLimitOf(boardOf("600000"), "2025-07-07", true), 0.10);
    EXPECT_EQ(dailyLimitOf(boardOf("300750"), "2020-08-21", false), 0.10);
    EXPECT_EQ(dailyLimitOf(boardOf("300750"), "2020-08-24", true), 0.20);
    EXPECT_EQ(dailyLimitOf(boardOf("688981"), "2020-01-02", true), 0.20);
    // New listings: free for five days on STAR, on ChiNext from the
    // registration reform, on the main board from 2023-04-10.
    EXPECT_EQ(dailyLimitOf(Board::Star, "2020-01-02", false, 4), std::nullopt);
    EXPECT_EQ(dailyLimitOf(Board::Star, "2020-01-02", false, 5), 0.20);
    EXPECT_EQ(dailyLimitOf(Board::Main, "2023-04-07", false, 0), 0.10);
    EXPECT_EQ(dailyLimitOf(Board::Main, "2023-04-10", false, 0), std::nullopt);
    // Both sides of each date; ST on the growth boards; listings before the
    // data's first day are no new listings.
    EXPECT_EQ(dailyLimitOf(Board::Main, "2025-07-04", true), 0.05);
    EXPECT_EQ(dailyLimitOf(Board::ChiNext, "2020-08-21", true), 0.05);
    EXPECT_EQ(dailyLimitOf(Board::ChiNext, "2020-08-21", false, 0), 0.10);
    EXPECT_EQ(dailyLimitOf(Board::ChiNext, "2020-08-24", false, 0), std::nullopt);
    EXPECT_EQ(dailyLimitOf(Board::Star, "2025-07-07", true), 0.20);
    EXPECT_EQ(listingDayOf(0, false), -1);
    EXPECT_EQ(listingDayOf(4, true), 4);
    EXPECT_EQ(listingDayOf(5, true), -1);
    EXPECT_TRUE(isRiskWarned("*ST某某"));
    EXPECT_FALSE(isRiskWarned("某某"));
    // Limit prices round to the cent: 2.03 * 0.9 = 1.827 makes 1.83.
    EXPECT_TRUE(atLimitDown(1.83, 2.03, 0.10));
    EXPECT_FALSE(atLimitDown(1.84, 2.03, 0.10));
    EXPECT_TRUE(atLimitDown(9.5, 10, 0.05));
    EXPECT_FALSE(atLimitDown(9.52, 10, 0.05));
    EXPECT_TRUE(atLimitUp(2.23, 2.03, 0.10));
    EXPECT_FALSE(atLimitUp(11.98, 10, 0.20));
}

TEST(ExRightsGaps, OpensBeyondTheLimitAreListed) {
    std::vector<DailyBar> bars{bar("2023-05-08", 20), bar("2023-05-09", 20),
                               bar("2023-05-10", 10.4), bar("2023-05-11", 9.36)};
    bars[2].open = 10.4;  // -48%
    bars[3].open = 9.36;  // -10%: the limit, no gap
    const auto gaps = suspectExRightsGaps("603001", bars, false, false);
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_EQ(describeGap("603001", gaps[0]),
              "603001 2023-05-10: \u221248% at the open, beyond the 10% limit");
    // ChiNext moves 20% from 2020-08-24; a new listing's first days are free.
    std::vector<DailyBar> chiNext{bar("2021-03-01", 10), bar("2021-03-02", 8.5)};
    EXPECT_TRUE(suspectExRightsGaps("300001", chiNext, false, false).empty());
    chiNext[1].date = "2019-03-02";
    chiNext[0].date = "2019-03-01";
    EXPECT_EQ(suspectExRightsGaps("300001", chiNext, false, false).size(), 1u);
    EXPECT_TRUE(
        suspectExRightsGaps("688001", {bar("2021-03-01", 10), bar("2021-03-02", 5)}, false, true)
            .empty());
}

TEST(AdjustmentInputs, ColumnsByNameAndEveryBadLineNamed) {
    const auto events = readExRightsEvents(
        "\xEF\xBB\xBF"
        "date,code,rights_price,rights_per_10,transfer_per_10,bonus_per_10,cash_per_10\n"
        "20240612,600000.SH,8,3,0,10,\n"
        "2024-06-13,sz.000001,,,,,2.5\n"
        "2024-06-14,60000,,,,,1\n"
        "2024-06-14,000002,,,,,-1\n");
    ASSERT_FALSE(events.fault);
    ASSERT_EQ(events.byCode.at("600000").size(), 1u);
    const ExRightsEvent& e = events.byCode.at("600000")[0];
    EXPECT_EQ(e.date, "2024-06-12");
    EXPECT_EQ(e.bonusPer10, 10);
    EXPECT_EQ(e.rightsPer10, 3);
    EXPECT_EQ(e.rightsPrice, 8);
    EXPECT_EQ(events.byCode.at("000001")[0].cashPer10, 2.5);
    ASSERT_EQ(events.problems.size(), 2u);
    EXPECT_EQ(events.problems[0], "line 4: no stock code \"60000\"; skipped");
    EXPECT_EQ(events.problems[1], "line 5: not an amount: \"-1\"; skipped");

    EXPECT_EQ(readExRightsEvents("code,date,cash_per_10\n").fault,
              "line 1: no \"bonus_per_10\" column in the header");
    const auto factors = readAdjustmentFactors(
        "trade_date,adj_factor,ts_code\n20240612,1.5,600000.SH\n"
        "20240613,0,600000.SH\n");
    EXPECT_EQ(factors.byCode.at("600000"),
              (std::vector<std::pair<std::string, double>>{{"2024-06-12", 1.5}}));
    EXPECT_EQ(factors.problems.size(), 1u);
}

}  // namespace
}  // namespace orvane
