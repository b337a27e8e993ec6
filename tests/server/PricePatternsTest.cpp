#include "orvane/publisher/PricePatterns.h"

#include <gtest/gtest.h>

using namespace orvane::server;

namespace {
std::vector<DailyBar> barsOf(const std::vector<double>& closes) {
    std::vector<DailyBar> bars;
    for (double c : closes) bars.push_back({"2025-09-01", c, c, c, c, 1000});
    return bars;
}
std::vector<double> quiet(int n, double level = 10) {
    return std::vector<double>(n, level);
}
std::vector<double> operator+(std::vector<double> a, const std::vector<double>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
}  // namespace

TEST(PricePatterns, DoubleCannonNeedsAPauseAndAHigherSecondShot) {
    EXPECT_TRUE(isDoubleCannon(barsOf(quiet(20) + std::vector<double>{10.6, 10.4, 11.2})));
    EXPECT_TRUE(
        isDoubleCannon(barsOf(quiet(20) + std::vector<double>{10.6, 10.4, 10.3, 10.2, 11.0})));
    // No pause: a plain run of rises.
    EXPECT_FALSE(isDoubleCannon(barsOf(quiet(20) + std::vector<double>{10.6, 10.7, 11.3})));
    // The second shot stays below the first.
    EXPECT_FALSE(isDoubleCannon(barsOf(quiet(20) + std::vector<double>{10.6, 9.9, 10.5})));
    // Too long ago: the second shot must be one of the last five days.
    EXPECT_FALSE(
        isDoubleCannon(barsOf(quiet(20) + std::vector<double>{10.6, 10.4, 11.2} + quiet(5, 11.2))));
    EXPECT_FALSE(isDoubleCannon(barsOf({10, 10.6})));
}

TEST(PricePatterns, SingleCannonAfterTenQuietDays) {
    EXPECT_TRUE(isSingleCannon(barsOf(quiet(11) + std::vector<double>{10.7})));
    EXPECT_FALSE(isSingleCannon(barsOf(quiet(11) + std::vector<double>{10.69})));
    EXPECT_FALSE(isSingleCannon(
        barsOf(quiet(5) + std::vector<double>{10.4} + quiet(5, 10.4) + std::vector<double>{11.2})));
    EXPECT_EQ(patternType(barsOf(quiet(11) + std::vector<double>{10.7})), kPatternSingleCannon);
    EXPECT_EQ(patternType(barsOf(quiet(11))), kPatternNone);
}
