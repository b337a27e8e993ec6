// The dated cost table, each rate on both sides of its change, and the
// minimum commission.

#include <gtest/gtest.h>

#include "orvane/backtest/TradingCosts.h"

using namespace orvane::backtest;

TEST(TradingCosts, EachRateOnBothSidesOfItsDateAndTheMinimumCommission) {
    const TradingCosts costs;
    struct Case {
        bool sell;
        double amount;
        std::int32_t date;
        double yuan;  // commission + transfer fee (+ stamp duty on a sale)
    };
    const Case cases[] = {
        {false, 20000, 20220428, 5 + 0.4},      // transfer fee 0.002%
        {false, 20000, 20220429, 5 + 0.2},      // 0.001% from 2022-04-29
        {true, 20000, 20230825, 5 + 0.2 + 20},  // stamp duty 0.1%
        {true, 20000, 20230828, 5 + 0.2 + 10},  // 0.05% from 2023-08-28
        {false, 10000, 20240102, 5 + 0.1},      // 2.5 yuan of commission: the minimum 5
        {false, 100000, 20240102, 25 + 1},      // 0.025%
        {true, 100000, 20240102, 25 + 1 + 50},
    };
    for (const Case& c : cases)
        EXPECT_NEAR((c.sell ? sellCost : buyCost)(c.amount, c.date, costs), c.yuan, 1e-9)
            << c.amount << " on " << c.date;

    // A round trip of 20,000 yuan gaining 10%: 22,000 less 5.5 + 0.22 + 11.
    EXPECT_NEAR(netReturn(0.1, 20000, 20240102, 20240103, costs), (22000 - 16.72) / 20005.2 - 1,
                1e-12);
    // The broker's side as set, or nothing at all.
    EXPECT_NEAR(buyCost(20000, 20240102, {0.0003, 0, true}), 6 + 0.2, 1e-9);
    EXPECT_EQ(sellCost(20000, 20240102, {0.0003, 5, false}), 0);
    EXPECT_EQ(costTableText(costs),
              "  commission    buys and sells  0.025%, at least 5 yuan a trade\n"
              "  stamp duty    sells           0.1%; 0.05% from 2023-08-28\n"
              "  transfer fee  buys and sells  0.002%; 0.001% from 2022-04-29\n");
}
