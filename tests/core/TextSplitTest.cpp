#include "orvane/core/TextSplit.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvane;

TEST(TextSplit, LinesFieldsAndLengths) {
    EXPECT_EQ(splitLines("a\r\nb\n"), (std::vector<std::string_view>{"a", "", "b", ""}));
    EXPECT_EQ(splitLines("x\u2028y\u0085z").size(), 3u);
    EXPECT_EQ(splitLines("").size(), 1u);
    EXPECT_EQ(splitOn("a,,b", ',').size(), 3u);
    EXPECT_EQ(countFields("", ','), 1u);
    EXPECT_EQ(countFields("1,2,3,4,5,6,7", ','), 7u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("浦发"), 2u);
    EXPECT_EQ(utf16Length("\U0001F600"), 2u);
}

TEST(TextSplit, BlockSplitterAgreesWithByteWiseSplit) {
    // Newline sequences of every kind at every position across block ends.
    const std::string pieces[] = {"\n",     "\r",     "\r\n",           "\v",          "\f",
                                  "\u0085", "\u2028", "\u2029",         "\xE2\x80",    "\xC2",
                                  "a",      "bc",     "2025-09-03,1.0", "\xE2\x82\xAC"};
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int count = static_cast<int>(rng() % 40);
        for (int i = 0; i < count; ++i) text += pieces[rng() % std::size(pieces)];
        ASSERT_EQ(splitLines(text), splitLinesBytewise(text)) << "round " << round;
    }
}
