// A day's key and its text: every day of a market is checked against the text
// its key gives back, so the text must be printf's "%04d-%02d-%02d" of the
// key's parts for any key, and a key read from a date must give that date.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "PriceDays.h"

using orvane::backtest::dateKey;
using orvane::backtest::dateText;

TEST(PriceDays, ADayKeysTextIsPrintfsDate) {
    auto printed = [](std::int32_t key) {
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", key / 10000, key / 100 % 100, key % 100);
        return std::string(text);
    };
    std::mt19937 random(3);
    for (int i = 0; i < 100000; ++i) {
        const auto key = static_cast<std::int32_t>(random() % 120000000) - 10000000;
        ASSERT_EQ(dateText(key), printed(key)) << key;
    }
    for (std::int32_t key : {0, 1, 99999999, 100000000, -1, 20230105, 991231, 2147483647})
        EXPECT_EQ(dateText(key), printed(key)) << key;
    for (const char* day : {"2023-01-05", "1999-12-31", "2024-02-29"})
        EXPECT_EQ(dateText(dateKey(day)), day);
}
