// The bootstrap of a group's mean excess on made-up markets: with no edge,
// about one group in twenty comes out significant at 95%, though a group's
// signals on following days are largely the same stocks, their horizons
// overlap and a day's signals share their sector's move (resampling single
// days, let alone single signals, finds about half the groups significant
// here); a planted edge is found.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "orvane/backtest/DayBlockBootstrap.h"

using namespace orvane::backtest;

namespace {
constexpr int kDays = 600, kSectors = 10, kStocksASector = 20, kStocks = kSectors * kStocksASector,
              kHorizon = 10, kMembers = 5;

// Every stock's daily move less the market's that day: a move its sector
// shares and one of its own.
struct MadeUpMarket {
    std::vector<std::vector<double>> excessMove;  // [stock][day]

    explicit MadeUpMarket(std::mt19937_64& random) {
        std::normal_distribution<double> sector(0, 0.01), own(0, 0.02);
        excessMove.assign(kStocks, std::vector<double>(kDays));
        for (int d = 0; d < kDays; ++d) {
            double market = 0;
            for (int k = 0; k < kSectors; ++k) {
                const double shared = sector(random);
                for (int s = 0; s < kStocksASector; ++s)
                    market += excessMove[k * kStocksASector + s][d] = shared + own(random);
            }
            for (auto& stock : excessMove) stock[d] -= market / kStocks;
        }
    }
    // The excess over the kHorizon days after the signal day, plus `edge` a day.
    double forwardExcess(int stock, int day, double edge) const {
        double sum = 0;
        for (int d = day + 1; d <= day + kHorizon; ++d) sum += excessMove[stock][d] + edge;
        return sum;
    }
};

// A group as a verdict makes one: five stocks at a time, mostly of one
// sector, each staying in it for about fifteen days, so that its signals
// on following days are largely the same stocks.
std::vector<DayTotal> groupDays(const MadeUpMarket& market, std::mt19937_64& random, double edge) {
    std::uniform_int_distribution<int> sector(0, kSectors - 1), stock(0, kStocksASector - 1);
    std::bernoulli_distribution leaves(1.0 / 15), moves(1.0 / 20);
    int theme = sector(random);
    std::vector<int> members;
    for (int i = 0; i < kMembers; ++i) members.push_back(theme * kStocksASector + stock(random));
    std::vector<DayTotal> days;
    for (int d = 0; d + kHorizon < kDays; ++d) {
        if (moves(random)) theme = sector(random);
        DayTotal t;
        for (int& m : members) {
            if (leaves(random)) m = theme * kStocksASector + stock(random);
            t.sum += market.forwardExcess(m, d, edge);
            ++t.count;
        }
        days.push_back(t);
    }
    return days;
}

TEST(DayBlockBootstrap, AboutOneGroupInTwentySignificantWithoutAnEdgeAndAPlantedEdgeFound) {
    std::mt19937_64 random(20240301);
    const MadeUpMarket market(random);
    int significant = 0;
    for (int g = 0; g < 100; ++g) {
        const auto days = groupDays(market, random, 0);
        const MeanInterval i =
            bootstrapMean(days, blockDaysFor(kHorizon), kDefaultResamples, groupSeed(7, "g", g));
        ASSERT_FALSE(std::isnan(i.low));
        ASSERT_LT(i.low, i.high);
        // The interval excludes 0 exactly when the p-value is under 5%.
        EXPECT_EQ(i.low > 0 || i.high < 0, i.pValue < 0.05) << g;
        significant += i.low > 0 || i.high < 0;
    }
    EXPECT_GE(significant, 1);
    EXPECT_LE(significant, 12);

    const auto planted = groupDays(market, random, 0.001);  // 1% over the horizon
    const MeanInterval found =
        bootstrapMean(planted, blockDaysFor(kHorizon), kDefaultResamples, groupSeed(7, "edge", 0));
    EXPECT_GT(found.low, 0);
    EXPECT_LT(found.pValue, 0.05);
}

TEST(DayBlockBootstrap, FiguresWorkedOutByHand) {
    // Every day alike: every resample has the days' mean, 2 / 4 = 0.5, and
    // none lies at or below 0, so p = 2 * (0 + 1) / (99 + 1).
    const std::vector<DayTotal> alike(8, {2.0, 4});
    const MeanInterval same = bootstrapMean(alike, 2, 99, 1);
    EXPECT_DOUBLE_EQ(same.low, 0.5);
    EXPECT_DOUBLE_EQ(same.high, 0.5);
    EXPECT_DOUBLE_EQ(same.pValue, 0.02);
    EXPECT_EQ(same.blockDays, 2u);

    // Seven days hold fewer than four blocks of two: no interval.
    EXPECT_TRUE(std::isnan(bootstrapMean({alike.data(), 7}, 2, 99, 1).low));
    // Days without a signal give no mean to resample.
    EXPECT_TRUE(std::isnan(bootstrapMean(std::vector<DayTotal>(8), 2, 99, 1).pValue));

    // The same days and seed, the same figures; another seed, others.
    std::vector<DayTotal> mixed;
    for (int d = 0; d < 40; ++d) mixed.push_back({(d * 7 % 11) - 5.0, 1u + d % 3});
    const MeanInterval a = bootstrapMean(mixed, 4, 500, 3), b = bootstrapMean(mixed, 4, 500, 3),
                       c = bootstrapMean(mixed, 4, 500, 4);
    EXPECT_EQ(a.low, b.low);
    EXPECT_EQ(a.high, b.high);
    EXPECT_NE(a.low, c.low);
}

}  // namespace
