#include "orvane/core/NumberText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace orvane;

TEST(NumberText, LeadingFloatIsCorrectlyRoundedSinglePrecision) {
    EXPECT_EQ(leadingFloat("10.8"), 10.8f);
    EXPECT_EQ(leadingFloat("0.01"), 0.01f);
    EXPECT_LT(double{leadingFloat("0.01")}, 0.01);  // the single value lies below the double
    // A value halfway between two floats must not be rounded twice via double.
    EXPECT_EQ(leadingFloat("1.00000005960464477539062500000001"), std::nextafter(1.0f, 2.0f));
}

TEST(NumberText, LeadingFloatAcceptsBlanksSignsAndTrailingText) {
    EXPECT_EQ(leadingFloat("  -3.5abc"), -3.5f);
    EXPECT_EQ(leadingFloat("+2"), 2.0f);
    EXPECT_EQ(leadingFloat("1e2x"), 100.0f);
    EXPECT_EQ(leadingFloat("1e"), 1.0f);
    EXPECT_EQ(leadingFloat(".5"), 0.5f);
    EXPECT_EQ(leadingFloat("7."), 7.0f);
}

TEST(NumberText, NonNumbersReadAsZero) {
    EXPECT_EQ(leadingFloat(""), 0.0f);
    EXPECT_EQ(leadingFloat("abc"), 0.0f);
    EXPECT_EQ(leadingFloat("inf"), 0.0f);
    EXPECT_EQ(leadingFloat("nan"), 0.0f);
    EXPECT_EQ(leadingFloat("0x1A"), 0.0f);
    EXPECT_EQ(leadingFloat("-"), 0.0f);
    EXPECT_EQ(leadingFloat("."), 0.0f);
}

TEST(NumberText, OutOfRangeSaturates) {
    EXPECT_EQ(leadingFloat("1e50"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(leadingFloat("-1e50"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(leadingFloat("1e-60"), 0.0f);
}

TEST(NumberText, LeadingIntTruncatesAndSaturates) {
    EXPECT_EQ(leadingInt(" 1001\r"), 1001);
    EXPECT_EQ(leadingInt("-1"), -1);
    EXPECT_EQ(leadingInt("1.9"), 1);
    EXPECT_EQ(leadingInt("x5"), 0);
    EXPECT_EQ(leadingInt("99999999999"), 2147483647);
    EXPECT_EQ(leadingInt("-99999999999"), -2147483647 - 1);
}

TEST(NumberText, ShortDecimalsRoundLikeTheGeneralConversion) {
    std::mt19937 rng(11);
    for (int i = 0; i < 200000; ++i) {
        char text[32];
        const int decimals = static_cast<int>(rng() % 6);
        std::snprintf(text, sizeof text, "%.*f", decimals,
                      (rng() % 100000000) / std::pow(10.0, rng() % 8));
        float expectF = 0;
        double expectD = 0;
        std::from_chars(text, text + std::strlen(text), expectF);
        std::from_chars(text, text + std::strlen(text), expectD);
        ASSERT_EQ(leadingFloat(text), expectF) << text;
        ASSERT_EQ(leadingDouble(text), expectD) << text;
    }
}
