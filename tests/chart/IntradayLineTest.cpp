// The intraday line: session minutes with the lunch break closed up, the
// price range about the previous close, the crosshair's values, 涨速, and
// the view's crosshair text.

#include "orvane/chart/IntradayLine.h"

#include <gtest/gtest.h>

#include "orvane/chart/IntradayView.h"

using namespace orvane::chart;

TEST(IntradayLine, MinutesRangeFocusAndRiseSpeed) {
    for (auto [hour, minute, at] :
         {std::tuple{9, 30, 0}, {11, 29, 119}, {13, 0, 120}, {14, 59, 239}})
        EXPECT_EQ(intradayMinuteAt(hour, minute), at);
    for (auto [hour, minute] : {std::pair{9, 29}, {11, 30}, {12, 59}, {15, 0}})
        EXPECT_FALSE(intradayMinuteAt(hour, minute));
    EXPECT_EQ(intradayMinuteText(120), "13:00");
    EXPECT_EQ(intradayMinuteText(119), "11:29");

    IntradayLine line;
    line.previousClose = 10.0;
    // Nothing yet: one percent each way.
    EXPECT_DOUBLE_EQ(intradayRange(line).high, 10.1);
    line.sample(0, 10.05, 10.05, 1000);
    line.sample(3, 10.10, 10.08, 3000);
    line.sample(3, 10.12, 10.09, 3500);  // the minute's later price replaces it
    line.sample(2, 9.00, 9.0, 1);        // an earlier minute is ignored
    line.sample(10, 9.75, 9.95, 500);
    ASSERT_EQ(line.points.size(), 3u);
    const IntradayRange range = intradayRange(line);
    EXPECT_DOUBLE_EQ(range.low, 9.75);  // the farthest price sets both sides
    EXPECT_DOUBLE_EQ(range.high, 10.25);
    EXPECT_DOUBLE_EQ(range.maxVolume, 3500);

    const auto focus = intradayFocusAt(line, 3);
    ASSERT_TRUE(focus);
    EXPECT_EQ(focus->time, "09:33");
    EXPECT_NEAR(focus->changePercent, 1.2, 1e-9);
    EXPECT_DOUBLE_EQ(focus->volumeLots, 35);
    EXPECT_FALSE(intradayFocusAt(line, 4));

    // 涨速: the last price against five minutes before it (minute 3 for 10).
    EXPECT_NEAR(*riseSpeed(line), (9.75 / 10.12 - 1) * 100, 1e-9);
    IntradayLine two;
    two.sample(0, 10, 10, 1);
    EXPECT_FALSE(riseSpeed(two));
    two.sample(1, 10.1, 10, 1);
    EXPECT_NEAR(*riseSpeed(two), 1.0, 1e-9);  // shorter than five minutes: from the first

    IntradayView view("600000");
    view.resize(600, 400);
    view.setLine(line);
    view.setFocusMinute(3);
    EXPECT_EQ(view.focusText(), "09:33  价 10.12  均 10.09  +1.20%  量 35手");
    view.setFocusMinute(std::nullopt);
    EXPECT_TRUE(view.focusText().isEmpty());
}
