#include "orvane/chart/KDerivedValues.h"

#include <gtest/gtest.h>

#include "ChartFixtures.h"

using namespace orvane::chart;

namespace {

std::vector<KSection> withCloses(const std::vector<float>& values) {
    std::vector<KSection> days;
    for (float c : values) {
        KSection& d = days.emplace_back();
        d.closePrice = d.openPrice = c;
        d.highPrice = c + 1;
        d.lowPrice = c - 1;
    }
    calculateRiseFallAndMA(days);
    return days;
}

}  // namespace

TEST(KDerivedValues, AveragesStartOnlyWhenEnoughDaysExist) {
    std::vector<float> closes;
    for (int i = 1; i <= 20; ++i) closes.push_back(static_cast<float>(i));
    const auto days = withCloses(closes);
    // {day, ma5, ma10, ma20}: the closes are 1, 2, 3...
    const float rows[][4] = {{3, 0, 0, 0},    {4, 3, 0, 0},       {8, 7, 0, 0},
                             {9, 8, 5.5f, 0}, {18, 17, 14.5f, 0}, {19, 18, 15.5f, 10.5f}};
    for (const auto& [i, ma5, ma10, ma20] : rows) {
        const KSection& d = days[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::tuple(d.ma5, d.ma10, d.ma20, d.ma30), std::tuple(ma5, ma10, ma20, 0.0f))
            << i;
    }
}

TEST(KDerivedValues, RiseFallAndSwingAgainstThePreviousClose) {
    const auto days = withCloses({10, 11, 9.9f});
    EXPECT_EQ(std::pair(days[0].riseFall, days[0].swing), std::pair(0.0f, 0.0f));
    EXPECT_FLOAT_EQ(days[1].riseFall, 10);
    EXPECT_FLOAT_EQ(days[1].swing, 20);                            // (12 - 10) / 10
    EXPECT_EQ(days[2].riseFall, (9.9f - 11.0f) / 11.0f * 100.0f);  // single precision as written
}
