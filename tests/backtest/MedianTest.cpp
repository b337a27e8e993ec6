// The median of a group's returns against the middle of the sorted returns,
// on both sides of the count where it stops sorting them all, odd and even,
// spread out, piled on a few values, all on one side of zero, and split in
// two halves of one value each.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Median.h"

using orvane::backtest::medianOf;

TEST(Median, IsTheMiddleOfTheSortedReturns) {
    std::mt19937 random(9);
    std::normal_distribution<float> spread(0.002F, 0.05F);
    std::uniform_int_distribution<int> few(-3, 3);
    for (std::size_t count : {65535, 65536, 65537, 200000, 200001})
        for (int shape = 0; shape < 4; ++shape) {
            std::vector<float> returns(count);
            for (std::size_t i = 0; i < count; ++i)
                returns[i] = shape == 0   ? spread(random)
                             : shape == 1 ? static_cast<float>(few(random)) / 100
                             : shape == 2 ? std::abs(spread(random)) + 0.5F
                                          : (i < count / 2 ? -0.01F : 0.02F);
            std::vector<float> sorted = returns;
            std::sort(sorted.begin(), sorted.end());
            const double middle = count % 2
                                      ? sorted[count / 2]
                                      : (double{sorted[count / 2 - 1]} + sorted[count / 2]) / 2;
            EXPECT_EQ(medianOf(returns), middle) << count << " returns of shape " << shape;
        }
}
