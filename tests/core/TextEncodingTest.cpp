#include "orvane/core/TextEncoding.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(TextEncoding, Gb18030RoundTripsTwoAndFourByteCharacters) {
    // 浦发银行 (two-byte), U+20000 (four-byte), then ASCII.
    const std::string gb = "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0\x95\x32\x82\x36,12.5";
    auto utf8 = gb18030ToUtf8(gb);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(*utf8, "浦发银行\xF0\xA0\x80\x80,12.5");
    EXPECT_EQ(utf8ToGb18030(*utf8), gb);
    EXPECT_EQ(gb18030ToUtf8(""), std::string());
}

TEST(TextEncoding, Gb18030RejectsBrokenInput) {
    EXPECT_FALSE(gb18030ToUtf8("\xC6"));        // truncated two-byte character
    EXPECT_FALSE(gb18030ToUtf8("ab\xFF\xFF"));  // not a GB 18030 sequence
    EXPECT_FALSE(utf8ToGb18030("\xE4\xB8"));    // truncated UTF-8
}

TEST(TextEncoding, Utf16ByteOrderMarkDecidesTheOrder) {
    EXPECT_EQ(utf16ToUtf8(std::string("\xFE\xFF\x6D\x66\x53\xD1", 6)), "浦发");
    EXPECT_EQ(utf16ToUtf8(std::string("\xFF\xFE\x66\x6D\xD1\x53", 6)), "浦发");
    // Without a mark the text is big-endian.
    EXPECT_EQ(utf16ToUtf8(std::string("\x6D\x66\x53\xD1", 4)), "浦发");
    EXPECT_EQ(utf16ToUtf8(std::string("\xFF\xFE", 2)), "");
}

TEST(TextEncoding, Utf16RejectsOddLengthAndLoneSurrogates) {
    EXPECT_FALSE(utf16ToUtf8(std::string("\xFE\xFF\x00", 3)));
    EXPECT_FALSE(utf16ToUtf8(std::string("\xFE\xFF\xD8\x00\x00\x41", 6)));
}

TEST(TextEncoding, Utf8ToUtf16WritesAMarkAndRoundTrips) {
    auto le = utf8ToUtf16("A浦", true);
    ASSERT_TRUE(le);
    EXPECT_EQ(*le, std::string("\xFF\xFE\x41\x00\x66\x6D", 6));
    EXPECT_EQ(utf16ToUtf8(*utf8ToUtf16("600000\t浦发银行\tPFYH\r\n", false)),
              "600000\t浦发银行\tPFYH\r\n");
}
