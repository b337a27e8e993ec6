#include "orvane/chart/KDerivedValues.h"

#include <gtest/gtest.h>

#include "ChartFixtures.h"

using namespace orvane::chart;
using orvane::chart::test::Day;

namespace {

std::vector<KSection> closes(const std::vector<float>& values) {
    std::vector<KSection> days;
    for (float c : values) {
        KSection d;
        d.closePrice = c;
        d.openPrice = c;
        d.highPrice = c + 1;
        d.lowProice = c - 1;
        days.push_back(d);
    }
    calculateRiseFallAndMA(days);
    return days;
}

}  // namespace

TEST(KDerivedValues, AveragesStartOnlyWhenEnoughDaysExist) {
    EXPECT_EQ(closes({1, 2, 3, 4}).back().ma5, 0);

    std::vector<float> twenty;
    for (int i = 1; i <= 20; ++i) twenty.push_back(static_cast<float>(i));
    const auto days = closes(twenty);
    EXPECT_EQ(days[3].ma5, 0);
    EXPECT_FLOAT_EQ(days[4].ma5, 3);  // (1+2+3+4+5)/5
    EXPECT_EQ(days[8].ma10, 0);
    EXPECT_FLOAT_EQ(days[9].ma10, 5.5f);
    EXPECT_EQ(days[18].ma20, 0);
    EXPECT_FLOAT_EQ(days[19].ma20, 10.5f);  // only the last of twenty days
    for (const KSection& d : days) EXPECT_EQ(d.ma30, 0);
    EXPECT_FLOAT_EQ(days[19].ma5, 18);  // the window slides with the day
}

TEST(KDerivedValues, RiseFallAndSwingAgainstThePreviousClose) {
    const auto days = closes({10, 11, 9.9f});
    EXPECT_EQ(days[0].riseFall, 0);
    EXPECT_EQ(days[0].swing, 0);
    EXPECT_FLOAT_EQ(days[1].riseFall, 10);
    EXPECT_FLOAT_EQ(days[1].swing, 20);  // (12 - 10) / 10
    EXPECT_FLOAT_EQ(days[2].riseFall, -10);
    // Single precision, summed and divided as written.
    const float expected = (9.9f - 11.0f) / 11.0f * 100.0f;
    EXPECT_EQ(days[2].riseFall, expected);
}
