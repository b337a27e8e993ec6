#include "orvane/core/NumberText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace orvane;

TEST(NumberText, LeadingFloatReadsTheLeadingNumberInSinglePrecision) {
    const float inf = std::numeric_limits<float>::infinity();
    // The long one lies halfway between two floats: it must not be rounded twice via double.
    const std::pair<const char*, float> cases[] = {
        {"10.8", 10.8f},
        {"0.01", 0.01f},
        {"  -3.5abc", -3.5f},
        {"+2", 2},
        {"1e2x", 100},
        {"1e", 1},
        {".5", 0.5f},
        {"7.", 7},
        {"1e50", inf},
        {"-1e50", -inf},
        {"1.00000005960464477539062500000001", std::nextafter(1.0f, 2.0f)}};
    for (auto [text, expected] : cases) EXPECT_EQ(leadingFloat(text), expected) << text;
    for (const char* zero : {"", "abc", "inf", "nan", "0x1A", "-", ".", "1e-60"})
        EXPECT_EQ(leadingFloat(zero), 0.0f) << zero;
}

TEST(NumberText, LeadingIntTruncatesAndSaturates) {
    const std::pair<const char*, int> cases[] = {{" 1001\r", 1001},
                                                 {"-1", -1},
                                                 {"1.9", 1},
                                                 {"x5", 0},
                                                 {"99999999999", 2147483647},
                                                 {"-99999999999", -2147483647 - 1}};
    for (auto [text, expected] : cases) EXPECT_EQ(leadingInt(text), expected) << text;
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

TEST(NumberText, AppendFixedWritesWhatPrintfWrites) {
    auto printed = [](double value, int decimals) {
        char text[400];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return std::string(text);
    };
    auto appended = [](double value, int decimals) {
        std::string out = "x";
        appendFixed(out, value, decimals);
        // What the text reads back as, found without it, bit for bit.
        const double read = leadingDouble(out.substr(1)), value2 = fixedValue(value, decimals);
        EXPECT_EQ(std::memcmp(&read, &value2, sizeof read), 0) << out << " " << value2;
        return out.substr(1);
    };
    // Ties of the exact value go to even; values a hair off a tie do not.
    for (double v : {0.125,
                     0.375,
                     2.675,
                     1.005,
                     0.5,
                     1.5,
                     2.5,
                     -0.0,
                     -1.25,
                     -0.0005,
                     -2.675,
                     1e300,
                     -2e9,
                     std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN(),
                     2147483.6475,
                     21474836.47,
                     9.995,
                     std::nextafter(0.125, 1.0),
                     std::nextafter(0.125, 0.0)})
        for (int d = 0; d <= 5; ++d) ASSERT_EQ(appended(v, d), printed(v, d)) << v << " " << d;
    // Adjusted prices and volumes: any double, not only whole cents.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> price(0, 5000), volume(0, 3e9), percent(-100, 100);
    for (int i = 0; i < 300000; ++i) {
        const int d = static_cast<int>(rng() % 5);
        const double v = (i % 2 ? price(rng) : volume(rng)) / (d == 0 ? 1 : 1 + (rng() % 7));
        ASSERT_EQ(appended(v, d), printed(v, d)) << v << " " << d;
        ASSERT_EQ(appended(-v, d), printed(-v, d)) << -v << " " << d;
        // A return as a percentage, small ones rounding to "-0.000" included.
        const double p = percent(rng) / (i % 3 ? 1 : 1e5);
        ASSERT_EQ(appended(p, 3), printed(p, 3)) << p;
        const double cents = std::round(v * 100) / 100;  // a traded price as read
        ASSERT_EQ(appended(cents, 2), printed(cents, 2)) << cents;
    }
}
