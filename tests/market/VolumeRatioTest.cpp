#include "orvane/market/VolumeRatio.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvane;

namespace {
LocalDateTime at(int hour, int minute) {
    return {2026, 12, 7, hour, minute, 30, 1};
}
}  // namespace

TEST(VolumeRatio, SessionEdges) {
    // Five past days of 2,400 lots each: 240,000 shares a day, 1,000 shares
    // a minute of the four-hour session.
    const std::vector<double> past = {9999, 2400, 2400, 2400, 2400, 2400};
    struct Case {
        int hour, minute, minutesBegun;
        double shares;
        std::optional<double> ratio;
    };
    const Case cases[] = {
        {9, 29, 0, 0, std::nullopt},  // before the opening
        {9, 30, 1, 3000, 3.0},        // the first minute counts once begun
        {11, 29, 120, 60000, 0.5},    // the morning's last minute
        {12, 15, 120, 120000, 1.0},   // the lunch break stops the clock
        {13, 0, 121, 121000, 1.0},    // the afternoon's first minute
        {15, 0, 240, 480000, 2.0},    // from the close on, the whole day
        {20, 0, 240, 240000, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sessionMinutesBegun(at(c.hour, c.minute)), c.minutesBegun) << c.hour << c.minute;
        const auto ratio = volumeRatio(c.shares, at(c.hour, c.minute), past);
        ASSERT_EQ(ratio.has_value(), c.ratio.has_value()) << c.hour << ":" << c.minute;
        if (ratio) EXPECT_DOUBLE_EQ(*ratio, *c.ratio) << c.hour << ":" << c.minute;
    }
    // Fewer than five days: the mean of those there are; none: no ratio.
    // 40 lots over two days: 4,000 shares in 480 minutes.
    EXPECT_DOUBLE_EQ(*volumeRatio(1000, at(9, 30), std::vector<double>{10, 30}), 120.0);
    EXPECT_FALSE(volumeRatio(1000, at(10, 0), {}));
    EXPECT_FALSE(volumeRatio(1000, at(10, 0), std::vector<double>{0, 0}));
}
