// The literal engine is the yardstick the real engine is measured against, so
// its own answers are pinned here on the worked examples of the rules.

#include "LiteralEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "orvane/core/NumberText.h"

using namespace orvane;
using namespace orvane::literal;

namespace {

// A history text built newest day first; every day line ends with a line
// break, so the split ends with an empty element.
class History {
  public:
    explicit History(std::string date = "2024-03-08") : date_(std::move(date)) {}
    History& day(double close, double volume = 1000) {
        text_ += format("%s,%.6g,%.6g,%.6g,%.6g,%.6g,0\n", date_.c_str(), close, close, close,
                        close, volume);
        return *this;
    }
    History& days(std::initializer_list<double> closes) {
        for (double c : closes) day(c);
        return *this;
    }
    History& repeat(int n, double close) {
        for (int i = 0; i < n; ++i) day(close);
        return *this;
    }
    History& line(const std::string& raw) {
        text_ += raw + "\n";
        return *this;
    }
    const std::string& text() const { return text_; }

  private:
    std::string date_;
    std::string text_ = "Date,Open,High,Low,Close,Volume,Adj Close\n";
};

LocalDateTime at(int y, int mo, int d, int h = 10, int mi = 0) {
    return toLocal(fromLocal(LocalDateTime{y, mo, d, h, mi, 0}));
}

std::uint32_t windowCode(const std::string& text, int days, int offset = 1) {
    BoxInfo box;
    return getStockTrend(text, days, box, offset);
}

}  // namespace

TEST(LiteralWindow, CountsOnlyValidDays) {
    History h;
    h.day(20, 0).day(12).day(30, 0).line("2024-03-08,1,1,1,99,1000").line("abcd");
    h.days({11, 10, 13, 9, 50});
    BoxInfo box;
    getStockTrend(h.text(), 5, box, 1);
    EXPECT_EQ(box.startPrice, 12.0f);
    EXPECT_EQ(box.endPrice, 9.0f);
    EXPECT_EQ(box.maxPrice, 13.0f);
    EXPECT_EQ(box.minPrice, 9.0f);
    EXPECT_EQ(box.avgPrice, 11.0f);
    EXPECT_EQ(box.endIndex, 5);

    // Fewer valid days than asked for: the whole text, endIndex capped.
    History longText;
    longText.repeat(120, 10);
    getStockTrend(longText.text(), 300, box, 1);
    EXPECT_EQ(box.avgPrice, 10.0f);
    EXPECT_EQ(box.endIndex, 120);

    // Past the end: nothing counted, undefined mean, unclear.
    EXPECT_EQ(getStockTrend(h.text(), 5, box, 40), 0u);
    EXPECT_EQ(box.startPrice, 1.0f);
    EXPECT_EQ(box.endPrice, 1.0f);
    EXPECT_EQ(box.maxPrice, 0.0f);
    EXPECT_TRUE(std::isnan(box.avgPrice));
}

TEST(LiteralWindow, TrendCodesAndTheirFloatBoundaries) {
    History rising;
    rising.days({13, 12, 11.5, 11, 10.8, 10.5, 10.3, 10.2, 10.1, 9.8});
    EXPECT_EQ(windowCode(rising.text(), 10), 1u);

    // 13 / 10 in single precision widens to just below 1.3.
    EXPECT_EQ(windowCode(History().days({13, 12, 11, 10.5, 10}).text(), 5), 0u);
    EXPECT_EQ(windowCode(History().days({13.01, 12, 11, 10.5, 10}).text(), 5), 1u);

    EXPECT_EQ(windowCode(History().days({8, 8.2, 8.5, 9, 9.5, 10, 10.5, 11}).text(), 8), 2u);
    EXPECT_EQ(windowCode(History().repeat(10, 10).text(), 10), 3u);
    EXPECT_EQ(windowCode(History().days({11, 12, 11, 12, 10.5}).text(), 5), 3u);  // A/M = 1.076
    EXPECT_EQ(windowCode(History().days({11, 12, 11, 12, 8}).text(), 5), 0u);     // A/M = 1.35

    // The high may lie 10% above the newest close with ten days (T = 1.15),
    // not with nine (T = 1.09).
    History ten, nine;
    ten.days({12, 13.2}).repeat(7, 9.5).day(10);
    nine.days({12, 13.2}).repeat(6, 9.5).day(10);
    EXPECT_EQ(windowCode(ten.text(), 10), 1u);
    EXPECT_EQ(windowCode(nine.text(), 10), 0u);
}

TEST(LiteralDayLag, CountsTradingDaysByTodaysWeekday) {
    auto lag = [](const char* date, const LocalDateTime& now) {
        return daysBefortoday(History(date).repeat(3, 10).text(), now);
    };
    const LocalDateTime monday = at(2024, 3, 11, 9, 30);
    EXPECT_EQ(lag("2024-03-07", monday), 2);  // Thursday
    EXPECT_EQ(lag("2024-03-08", monday), 1);  // Friday
    EXPECT_EQ(lag("2024-03-11", monday), -2);
    EXPECT_EQ(lag("2024-03-12", at(2024, 3, 12, 15)), 0);  // Tuesday
    EXPECT_EQ(lag("2024-03-08", at(2024, 3, 9)), 0);       // Saturday

    // Empty lines and short dates are passed over; the first candidate
    // decides even when its date does not parse.
    History skipped("2024-03-07");
    skipped.line("").line("24-3-8,1,1,1,1,1000,0").repeat(2, 10);
    EXPECT_EQ(daysBefortoday(skipped.text(), monday), 2);
    History broken("2024-03-07");
    broken.line("2024-13-45,1,1,1,1,1000,0").repeat(2, 10);
    const std::int32_t d = daysBefortoday(broken.text(), monday);
    EXPECT_TRUE(d < 0 || d > 3);
}

TEST(LiteralAcceleration, ComparesTheNewestBlockWithTheOthers) {
    // Blocks of three days at offsets 1, 4, 7, 11 and 14 (day 10 in none).
    auto text = [](const char* date, double newest) {
        History h(date);
        h.days({newest, 11, 10}).days({12.5, 11, 10}).days({12.5, 11, 10}).day(10);
        h.days({12.5, 11, 10}).days({12.5, 11, 10}).repeat(5, 10);
        return h.text();
    };
    const LocalDateTime monday = at(2024, 3, 11);
    // Lag 1: all five rises equal gives g1 / G = 1.0, not above it.
    EXPECT_FALSE(isAcceleration(text("2024-03-08", 12.5), "600000", 13, monday));
    EXPECT_TRUE(isAcceleration(text("2024-03-08", 15), "600000", 13, monday));
    // Lag 4 (Tuesday's line on the next Monday): never.
    EXPECT_FALSE(isAcceleration(text("2024-03-05", 15), "600000", 13, monday));
}

TEST(LiteralHistoricalDay, ViewRecordAndHigh) {
    const std::string t = "H\nA\nB\nC\nD\n";
    EXPECT_EQ(getHisdayResponseString(t, 3), "H\nC\nD\n\n");
    EXPECT_EQ(getHisdayResponseString(t, 5), "H\n\n");
    EXPECT_FALSE(getHisdayResponseString(t, 0));
    EXPECT_FALSE(getHisdayResponseString(t, 6));

    History h;
    h.line("2024-03-08,9.5,11,9,10,1000,0").line("2024-03-07,9,9,9,9,1000").line("x,1,2,3");
    h.line("2024-03-05,8,8,8,8,1000,0");
    const auto rec = getHisdayTradeInfo(h.text(), 1, "600000");
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->code, "600000");
    EXPECT_EQ(rec->date, "2024-03-08");
    EXPECT_EQ(rec->open, 9.5f);
    EXPECT_EQ(rec->close, 10.0f);
    EXPECT_EQ(rec->yesClose, 1.0f);  // the next line has 6 fields
    EXPECT_EQ(getHisdayTradeInfo(h.text(), 2, "600000")->yesClose, 1.0f);
    EXPECT_FALSE(getHisdayTradeInfo(h.text(), 3, "600000"));  // 4 fields
    EXPECT_TRUE(getHisdayTradeInfo(h.text(), 4, "600000"));
    EXPECT_FALSE(getHisdayTradeInfo(h.text(), 5, "600000"));

    History six;
    six.line("2024-03-08,1,1,1,50,1000").line("2024-03-07,1,1,1,60,1000");
    EXPECT_EQ(getHisdayMaxPrice(six.text(), 10, 0), 0.1f);
    History high;
    high.days({30, 20, 12, 11, 25, 13});
    EXPECT_EQ(getHisdayMaxPrice(high.text(), 10, 3), 25.0f);  // days 4 to 6
    EXPECT_EQ(getHisdayMaxPrice(high.text(), 4, 1), 20.0f);   // days 2 to 4
}

TEST(LiteralRegion, MeasuresTheBandUntilItBreaks) {
    History h;
    h.days({10, 10.5, 11, 11.2, 12.6}).repeat(5, 12.6);
    EXPECT_EQ(getStockSildeWaysRgn(h.text(), "600000", 1, kRegionNarrow), 4);
    EXPECT_EQ(getStockSildeWaysRgn(h.text(), "600000", 1, kRegionWide), 4);
    EXPECT_EQ(getStockSildeWaysRgn(h.text(), "399001", 1, kRegionWide), 4);
    EXPECT_EQ(getStockSildeWaysRgn(h.text(), "399001", 1, kRegionNarrow), 2);  // R = 1.06

    History suspended;
    suspended.day(10).day(15, 0).days({10.5, 11, 11.2, 12.6}).repeat(5, 12.6);
    EXPECT_EQ(getStockSildeWaysRgn(suspended.text(), "600000", 1, kRegionNarrow), 4);

    // Running out: the last examined day is not credited; E - 1 gives -1.
    History flat;
    flat.repeat(5, 10);
    EXPECT_EQ(getStockSildeWaysRgn(flat.text(), "600000", 1, kRegionMedium), 4);
    EXPECT_EQ(getStockSildeWaysRgn(flat.text(), "600000", 6, kRegionMedium), -1);
}

TEST(LiteralRegion, LongestRegionPrefersTheSmallestOffset) {
    // Day 1 breaks its own region at once; days 2 to 4 are suspended, so
    // offsets 2 to 5 all measure the same 40-day region.
    History h;
    h.day(20).day(10, 0).day(10, 0).day(10, 0).repeat(40, 10).day(15).repeat(15, 10);
    std::int32_t score = 100, offset = 0;
    EXPECT_EQ(getSlideWaysToScore(h.text(), "600000", kRegionWide, offset, score), 40);
    EXPECT_EQ(offset, 2);
    EXPECT_EQ(score, 108);
    EXPECT_EQ(fileterSlideWaysBefore(offset, score), 0);
    EXPECT_EQ(score, 112);
}

TEST(LiteralScore, PointTables) {
    auto length = [](std::uint32_t kind, std::int32_t n) {
        std::int32_t s = 0;
        slideWaysLengthPoints(kind, n, s);
        return s;
    };
    EXPECT_EQ(length(kRegionNarrow, 16), 6);
    EXPECT_EQ(length(kRegionNarrow, 15), 0);
    EXPECT_EQ(length(kRegionWide, 114), 20);
    EXPECT_EQ(length(kRegionWide, 115), 25);
    EXPECT_EQ(length(kRegionModelB, 200), 0);

    auto angle = [](float r, std::uint32_t set, bool composite) {
        std::int32_t s = 0;
        composite ? fileterAngleModelforComposite(r, set, s) : fileterAngleModel(r, set, s);
        return s;
    };
    EXPECT_EQ(angle(1.0f, kRegionMedium, false), 0);
    EXPECT_EQ(angle(1.0f, kRegionNarrow, false), 5);
    EXPECT_EQ(angle(1.022f, kRegionMedium, true), 0);
    EXPECT_EQ(angle(1.03f, kRegionMedium, true), 10);
    EXPECT_EQ(angle(1.0f, kRegionMedium, true), 15);

    auto slope = [](float n, float m, float w) {
        std::int32_t s = 0;
        slopePoints(n, m, w, s);
        return s;
    };
    EXPECT_EQ(slope(3.0f, 2.0f, 1.0f), 0);
    EXPECT_EQ(slope(2.9f, 2.0f, 1.0f), -10);
    EXPECT_EQ(slope(5.5f, 2.0f, 1.0f), 5);
    EXPECT_EQ(slope(4.0f, 2.0f, 1.0f), 10);  // q = 2.67, p = 2.0
    EXPECT_EQ(slope(4.0f, 1.5f, 1.0f), 15);  // q = 3.2, p = 2.67
    EXPECT_EQ(slope(4.0f, 1.0f, 1.5f), 0);   // the medium slope must exceed the wide one
}

TEST(LiteralScore, NormalAndIndexScoresOfAFlatStock) {
    History h;
    h.repeat(40, 10.5);
    // Every region runs the whole text from offset 1 (39 days): length points
    // 10 + 8 + 25, start-day points 3 x 5.
    std::int32_t score = 0;
    EXPECT_EQ(calStockScore(h.text(), "600000", 10.5f, score), 10.5f);
    EXPECT_EQ(score, 100 + 43 + 15 + 5 - 10);  // angle from set 1003, flat slope

    EXPECT_EQ(calStockScore(h.text(), "399001", 10.5f, score), 10.0f);
    EXPECT_EQ(score, 100 + 43 + 15 + 15 + 5);  // composite angles only

    score = 77;
    EXPECT_EQ(calStockScoreForComposite(h.text(), "600000", 10.5f, score), 0);
    EXPECT_EQ(score, 77);
    EXPECT_EQ(calStockScoreForComposite(h.text(), "510050", 10.5f, score), 10);
}

TEST(LiteralScore, BigRisesSkipShortLines) {
    History h;
    h.line("2024-03-08,1,1,1,10.8,1000").days({10.5, 10.5});
    // Today's 11 is compared with day 2's 10.5 (+4.8%), not with day 1.
    EXPECT_EQ(calStockBigRises(h.text(), 11.0f), 1);
    History all;
    all.days({10.8, 10.5, 10.5});
    EXPECT_EQ(calStockBigRises(all.text(), 11.0f), 0);
}

TEST(LiteralRise, ElevenDayRatio) {
    History h;
    h.days({10, 11, 12, 9}).repeat(7, 10).day(20).day(10);
    EXPECT_EQ(getMaxRise(h.text(), "600000", 1), 12.0f / 9.0f);
    EXPECT_EQ(getMaxRise(h.text(), "399001", 1), 1.0f);

    // A day of volume 5 is skipped and one more day is taken instead.
    History thin;
    thin.day(10).day(30, 5).days({11, 12, 9}).repeat(6, 10).day(20).day(10);
    EXPECT_EQ(getMaxRise(thin.text(), "600000", 1), 20.0f / 9.0f);

    EXPECT_TRUE(std::isnan(getMaxRise(h.text(), "600000", 14)));
}

TEST(LiteralRise, HighestCloseSinceDayTwo) {
    History h;
    h.day(99).day(3).repeat(3, 2).day(14).repeat(43, 5).day(15);  // 50 day lines
    EXPECT_EQ(getMaxPrice(h.text(), "600000", 100), 15.0f);
    EXPECT_EQ(getMaxPrice(h.text(), "600000", 3), 3.0f);  // days 2 to 5
    EXPECT_EQ(getMaxPrice(History().repeat(50, 0.5).text(), "600000", 100), 1.0f);
    EXPECT_EQ(getMaxPrice(h.text(), "399001", 100), 1.0f);
}

TEST(LiteralRise, ThreeDayRise) {
    History h;
    h.days({10, 9.6, 9.5, 9});
    EXPECT_EQ(getMaxRiseThreedays(h.text(), 10.5f, 10.0f), 10.5f / 10.0f);

    History shortDay2;
    shortDay2.day(10).line("2024-03-07,1,1,1,9.6,1000").day(9.5);
    EXPECT_TRUE(std::isinf(getMaxRiseThreedays(shortDay2.text(), 10.5f, 10.0f)));

    // Days 2 and 3 both short: 0 / 0 leads, and nothing replaces it.
    History noDays;
    noDays.day(10).line("a,1").line("b,1");
    EXPECT_TRUE(std::isnan(getMaxRiseThreedays(noDays.text(), 10.5f, 10.0f)));

    EXPECT_EQ(getMaxRiseThreedays("H\nA\nB\nC", 10.5f, 10.0f), 1.0f);
}

namespace {

// Closes `low` up to and including day j + 1's, `high` from day j on: a rise
// of high / low into day j.
std::string jumpAt(int j, double high, double low, int lines = 60) {
    History h;
    for (int day = 1; day <= lines; ++day) h.day(day <= j ? high : low);
    return h.text();
}

}  // namespace

TEST(LiteralModelB, BuyPointA) {
    // A flat stock jumping today: the three-day rise must exceed 1.0888.
    const std::string flat = History().repeat(30, 1.0).text();
    EXPECT_TRUE(FilterModeB_BuyA(flat, "600000", 1.09f, 1.0f));
    EXPECT_FALSE(FilterModeB_BuyA(flat, "600000", 1.0888f, 1.0f));

    // The region behind the jump needs 14 days.
    EXPECT_TRUE(FilterModeB_BuyA(jumpAt(1, 11, 10, 15), "600000", 11.0f, 10.0f));
    EXPECT_FALSE(FilterModeB_BuyA(jumpAt(1, 11, 10, 14), "600000", 11.0f, 10.0f));
}

TEST(LiteralModelB, BuyPointBBackTestsDaysThreeToThirteen) {
    // A jump into day j makes buy point A hold on the views of days j and j - 1.
    EXPECT_TRUE(FilterModeB_BuyB(jumpAt(14, 8, 7.2), "600000", 8.4f, 8.0f));
    EXPECT_FALSE(FilterModeB_BuyB(jumpAt(15, 8, 7.2), "600000", 8.4f, 8.0f));
    EXPECT_FALSE(FilterModeB_BuyB(jumpAt(2, 8, 7.2), "600000", 7.56f, 7.2f));
    // Today's rise of 1.045 in single precision is not above the double 1.045.
    EXPECT_FALSE(FilterModeB_BuyB(jumpAt(14, 8, 7.2), "600000", 8.36f, 8.0f));

    const ModelB m = FilterModeB(jumpAt(14, 8, 7.2), "600000", 8.4f, 8.0f);
    EXPECT_TRUE(m.buyB);
    EXPECT_FALSE(m.buyA);
    EXPECT_TRUE(m.found());
}

TEST(LiteralRun, FallingTenDaysWithoutCandidateIsNoTrend) {
    History h;
    h.days({8, 8.2, 8.5, 9, 9.5, 10, 10.5, 11, 11.5, 12});
    const AnalysisResult r = analyzeLiteral(h.text(), {"600000", 8, 8, 8}, at(2024, 3, 11));
    EXPECT_EQ(r.t10, 2u);
    EXPECT_EQ(r.trend, -1);
    EXPECT_EQ(r.end5, 9.5f);
    EXPECT_EQ(r.end10, 12.0f);
    EXPECT_FALSE(r.accel);
    EXPECT_FALSE(r.buyA);
    EXPECT_FALSE(r.modeB);
}

TEST(LiteralRun, RisingFallbackAndTheModelBGate) {
    // Four days at 20 over 56 at 15: the 300-day window rises, the 180-day
    // window (from day 5) is flat, so only the fallback to t300 applies.
    History h;
    h.repeat(4, 20).repeat(56, 15);
    std::int32_t score = 0;
    const float key = calStockScore(h.text(), "600000", 23, score);

    // r20 = (23 - 20) * 100 / 20 = 15 exactly: no model-B check.
    AnalysisResult r = analyzeLiteral(h.text(), {"600000", 22, 23, 22}, at(2024, 3, 11));
    EXPECT_EQ(r.t300, 1u);
    EXPECT_EQ(r.t180, 3u);
    EXPECT_EQ(r.trend, 1);
    EXPECT_EQ(r.score, score);
    EXPECT_EQ(r.keyPrice, key);
    EXPECT_EQ(r.end5, 15.0f);
    EXPECT_FALSE(r.buyA);
    EXPECT_FALSE(r.accel);

    r = analyzeLiteral(h.text(), {"600000", 22, 22.9f, 22}, at(2024, 3, 11));
    EXPECT_EQ(r.trend, 1);
    ASSERT_TRUE(r.buyA && r.buyB);
    EXPECT_FALSE(*r.buyA || *r.buyB || r.modeB);
}

TEST(LiteralRun, KeyPointBreakthroughAsksForAcceleration) {
    // A rise from 13 to 19.2, a flat stretch, then three days up to 20. The
    // newest block alone rises, so with a lag of one day the stock accelerates.
    History h("2024-03-08");
    h.days({20, 19.6}).repeat(14, 19.2);
    for (int i = 0; i < 44; ++i) h.day(19.0 - 6.0 * i / 43);
    const LocalDateTime monday = at(2024, 3, 11);

    // C / K = 1.12: everything else of the 1001 refinement holds, yet 1000 stays.
    AnalysisResult r = analyzeLiteral(h.text(), {"600000", 21.5f, 21.5f, 20}, monday);
    ASSERT_TRUE(r.accel);
    EXPECT_TRUE(*r.accel);
    EXPECT_EQ(r.keyPrice, 19.2f);
    EXPECT_EQ(r.trend, 1000);

    // Within 10% of the key price and opening near it: the breakthrough code.
    r = analyzeLiteral(h.text(), {"600000", 20.5f, 20.5f, 20}, monday);
    ASSERT_TRUE(r.accel);
    EXPECT_EQ(r.trend, 1001);
}
