#include "orvane/core/TextSplit.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(TextSplit, EveryNewlineCharacterSeparates) {
    auto lines = splitLines("a\r\nb\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "b");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(splitLines("x\u2028y\u0085z").size(), 3u);
    EXPECT_EQ(splitLines("").size(), 1u);
}

TEST(TextSplit, FieldsAndLengths) {
    EXPECT_EQ(splitOn("a,,b", ',').size(), 3u);
    EXPECT_EQ(countFields("", ','), 1u);
    EXPECT_EQ(countFields("1,2,3,4,5,6,7", ','), 7u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("浦发"), 2u);
    EXPECT_EQ(utf16Length("\U0001F600"), 2u);
}
