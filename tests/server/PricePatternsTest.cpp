#include "orvane/publisher/PricePatterns.h"

#include <gtest/gtest.h>

using namespace orvane::server;

TEST(PricePatterns, CannonsNeedQuietDaysBigUpDaysAndAPause) {
    const std::vector<double> quiet(20, 10.0);
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
        std::vector<DailyBar> bars;
        std::vector<double> closes = quiet;
        closes.insert(closes.end(), c.last.begin(), c.last.end());
        for (double close : closes)
            bars.push_back({"2025-09-01", close, close, close, close, 1000});
        EXPECT_EQ(patternType(bars), c.type) << testing::PrintToString(c.last);
        EXPECT_EQ(isDoubleCannon(bars), c.type == kPatternDoubleCannon);
    }
    EXPECT_FALSE(
        isDoubleCannon({{"2025-09-01", 10, 10, 10, 10, 1}, {"2025-09-02", 10, 10.6, 10, 10.6, 1}}));
}
