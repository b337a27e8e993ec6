#include <gtest/gtest.h>

#include <cmath>

#include "HistoryBuilder.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/StockBoxInfo.h"

using namespace orvane;
using test::HistoryBuilder;

namespace {

StockBox_Info window(const std::string& text, int days, int offset) {
    ParsedHistory h(text);
    return windowStatistics(HistoryView(h), days, offset);
}

StockBox_Info boxOf(float F, float L, float A, float H, float M) {
    StockBox_Info b;
    b.startPrice = F, b.endPrice = L, b.avgPrice = A, b.maxPrice = H, b.minPrice = M;
    return b;
}

}  // namespace

TEST(Window, SkipsUntradedAndMalformedLines) {
    // Lines 1 and 3 have volume 0; the window of 5 at offset 1 takes 2, 4, 5, 6, 7.
    std::string text =
        HistoryBuilder().day(20, 0).day(11).day(30, 0).days({12, 13, 14, 15, 16, 17}).text();
    StockBox_Info b = window(text, 5, 1);
    EXPECT_EQ(b.startPrice, 11.0f);
    EXPECT_EQ(b.endPrice, 15.0f);
    EXPECT_EQ(b.maxPrice, 15.0f);
    EXPECT_EQ(b.minPrice, 11.0f);
    EXPECT_EQ(b.avgPrice, (11.0f + 12 + 13 + 14 + 15) / 5);

    // A 6-field line and a 4-character line do not count.
    text = HistoryBuilder().raw("2025-09-03,1,1,1,50,1000").raw("1,2,").days({10, 10}).text();
    b = window(text, 5, 1);
    EXPECT_EQ(b.maxPrice, 10.0f);
}

TEST(Window, RunsOutOfTextAndPastTheEnd) {
    std::string text = HistoryBuilder().flat(120, 10).text();  // 122 elements
    StockBox_Info b = window(text, 300, 1);
    EXPECT_EQ(b.endIndex, 121 - 1);
    EXPECT_EQ(b.avgPrice, 10.0f);

    b = window(text, 5, 500);
    EXPECT_TRUE(std::isnan(b.avgPrice));
    EXPECT_EQ(b.trend, kTrendUnclear);
    EXPECT_EQ(b.startPrice, 1.0f);
    EXPECT_EQ(b.endPrice, 1.0f);
    EXPECT_EQ(b.endIndex, 121 - 1);

    // Asked for 0 days the window still takes its first valid day.
    b = window(HistoryBuilder().days({7, 8}).text(), 0, 1);
    EXPECT_EQ(b.startPrice, 7.0f);
    EXPECT_EQ(b.endPrice, 7.0f);
}

TEST(Window, RisingRuleSinglePrecisionBoundaries) {
    // H / M = 13 / 10 is 1.29999995 in single precision: below the double 1.3.
    EXPECT_NE(classifyWindow(boxOf(13, 10, 11, 13, 10), 10), kTrendRising);
    EXPECT_EQ(classifyWindow(boxOf(13, 10, 11, 13, 9.9f), 10), kTrendRising);
    // The limit on H / F follows the number of days counted.
    EXPECT_EQ(windowThreshold(0), 1.0f);
    EXPECT_EQ(windowThreshold(9), 1.09f);
    EXPECT_EQ(windowThreshold(10), 1.15f);
    EXPECT_EQ(windowThreshold(199), 1.25f);
    EXPECT_EQ(windowThreshold(200), 1.3f);
    StockBox_Info nearHigh = boxOf(12, 9, 10, 13.5f, 9);  // H / F = 1.125
    EXPECT_EQ(classifyWindow(nearHigh, 9), kTrendUnclear);
    EXPECT_EQ(classifyWindow(nearHigh, 10), kTrendRising);
}

TEST(DayLag, WeekdaysWeekendsAndBadDates) {
    // 2025-09-04 is a Thursday, 2025-09-08 a Monday; 2025-01-31 to 2025-03-03
    // is 1 month 3 days, of which only the day part counts.
    const struct {
        std::string text;
        const char* now;
        std::int32_t lag;
    } cases[] = {{HistoryBuilder("2025-09-04").flat(20, 10).text(), "2025-09-08 10:00:00", 2},
                 {HistoryBuilder("2025-09-04").flat(20, 10).text(), "2025-09-05 10:00:00", 1},
                 {HistoryBuilder("2025-09-04").flat(20, 10).text(), "2025-09-06 10:00:00", 1},
                 {HistoryBuilder("2025-09-04").flat(20, 10).text(), "2025-09-04 16:00:00", 0},
                 {HistoryBuilder("2025-09-08").flat(20, 10).text(), "2025-09-08 10:00:00", -2},
                 {HistoryBuilder("2025-01-31").flat(20, 10).text(), "2025-03-03 10:00:00", 1},
                 // The first candidate decides even when its date is bad.
                 {HistoryBuilder().raw("").raw("2025-13-45,1,1,1,1,1000,1").flat(20, 10).text(),
                  "2025-09-03 10:00:00", kUnknownDayLag},
                 {"H\nshort,1\n", "2025-09-03 10:00:00", kUnknownDayLag}};
    for (const auto& c : cases)
        EXPECT_EQ(daysBefortoday(test::ParsedText(c.text).view(), *parseDateTime(c.now)), c.lag)
            << c.now;
}

TEST(HistoricalDay, AViewOfAViewReadsLikeItsTextSplitAgain) {
    ParsedHistory h("H\nA\nB\nC\nD\n");
    EXPECT_EQ(historicalDayText(HistoryView(h), 3), "H\nC\nD\n\n");
    EXPECT_FALSE(HistoryView(h).dayView(6));
    auto twice = HistoryView(h).dayView(2)->dayView(4);
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->size(),
              ParsedHistory(*historicalDayText(*HistoryView(h).dayView(2), 4)).size());
}

TEST(HistoricalDay, RecordOfDayK) {
    std::string text = HistoryBuilder().days({10, 11}).raw("2025-09-01,1,1,1,9,1000").day(8).text();
    ParsedHistory h(text);
    HistoryView v(h);
    auto r = historicalDayTrade(v, 2, "600000");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->close, 11.0f);
    EXPECT_EQ(r->yesClose, 1.0f);  // day 3 has 6 fields
    EXPECT_EQ(historicalDayTrade(v, 1, "600000")->yesClose, 11.0f);
    EXPECT_EQ(historicalDayTrade(v, 4, "600000")->yesClose,
              1.0f);  // element 5 is the empty last one
    EXPECT_FALSE(historicalDayTrade(v, 5, "600000"));
    ParsedHistory shortLine("H\n1,2,3\n2025-01-01,1,1,1,1,100,1\n");
    EXPECT_FALSE(historicalDayTrade(HistoryView(shortLine), 1, "600000"));
}

TEST(HistoricalDay, HighestCloseOfDaysFourToTen) {
    std::string text = HistoryBuilder().days({50, 40, 30, 12, 11, 13, 10, 10, 10, 10, 99}).text();
    ParsedHistory h(text);
    EXPECT_EQ(getHisdayMaxPrice(HistoryView(h), 10, 3), 13.0f);
    ParsedHistory sixFields("H\n2025-01-01,1,1,1,5,100\n2025-01-01,1,1,1,5,100\n");
    EXPECT_EQ(getHisdayMaxPrice(HistoryView(sixFields), 10, 0), 0.1f);
}
