#include "orvane/core/TextEncoding.h"

#include <gtest/gtest.h>

using namespace orvane;
using std::string_literals::operator""s;

TEST(TextEncoding, Gb18030RoundTripsTwoAndFourByteCharactersAndRejectsBrokenInput) {
    // 浦发银行 (two-byte), U+20000 (four-byte), then ASCII.
    const std::string gb = "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0\x95\x32\x82\x36,12.5";
    EXPECT_EQ(gb18030ToUtf8(gb), "浦发银行\xF0\xA0\x80\x80,12.5");
    EXPECT_EQ(utf8ToGb18030(*gb18030ToUtf8(gb)), gb);
    EXPECT_EQ(gb18030ToUtf8(""), std::string());
    EXPECT_FALSE(gb18030ToUtf8("\xC6"));        // truncated two-byte character
    EXPECT_FALSE(gb18030ToUtf8("ab\xFF\xFF"));  // not a GB 18030 sequence
    EXPECT_FALSE(utf8ToGb18030("\xE4\xB8"));    // truncated UTF-8
}

TEST(TextEncoding, Utf16ByteOrderMarkDecidesTheOrder) {
    EXPECT_EQ(utf16ToUtf8("\xFE\xFF\x6D\x66\x53\xD1"s), "浦发");
    EXPECT_EQ(utf16ToUtf8("\xFF\xFE\x66\x6D\xD1\x53"s), "浦发");
    EXPECT_EQ(utf16ToUtf8("\x6D\x66\x53\xD1"s), "浦发");  // without a mark: big-endian
    EXPECT_EQ(utf16ToUtf8("\xFF\xFE"s), "");
    EXPECT_FALSE(utf16ToUtf8("\xFE\xFF\x00"s));              // odd length
    EXPECT_FALSE(utf16ToUtf8("\xFE\xFF\xD8\x00\x00\x41"s));  // lone surrogate
    EXPECT_EQ(utf8ToUtf16("A浦", true), "\xFF\xFE\x41\x00\x66\x6D"s);
    EXPECT_EQ(utf16ToUtf8(*utf8ToUtf16("600000\t浦发银行\tPFYH\r\n", false)),
              "600000\t浦发银行\tPFYH\r\n");
}
