#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>

#include "HistoryBuilder.h"
#include "orvane/analysis/Acceleration.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/StockBoxInfo.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"

using namespace orvane;
using test::HistoryBuilder;
using Parsed = test::ParsedText;

static StockBox_Info boxOf(float F, float L, float A, float H, float M) {
    StockBox_Info b;
    b.startPrice = F, b.endPrice = L, b.avgPrice = A, b.maxPrice = H, b.minPrice = M;
    return b;
}

TEST(Window, SkipsUntradedLinesRunsOutOfTextAndComparesInSinglePrecision) {
    // Lines 1 and 3 have volume 0; the window of 5 at offset 1 takes 2, 4, 5, 6, 7.
    Parsed p(HistoryBuilder().day(20, 0).day(11).day(30, 0).days({12, 13, 14, 15, 16, 17}).text());
    StockBox_Info b = windowStatistics(p.view(), 5, 1);
    EXPECT_EQ(b.startPrice, 11.0f);
    EXPECT_EQ(b.endPrice, 15.0f);
    EXPECT_EQ(b.avgPrice, (11.0f + 12 + 13 + 14 + 15) / 5);
    b = windowStatistics(p.view(), 5, 500);
    EXPECT_TRUE(std::isnan(b.avgPrice));
    EXPECT_EQ(b.endIndex, 9);

    // H / M = 13 / 10 is 1.29999995 in single precision: below the double 1.3.
    EXPECT_NE(classifyWindow(boxOf(13, 10, 11, 13, 10), 10), kTrendRising);
    EXPECT_EQ(classifyWindow(boxOf(13, 10, 11, 13, 9.9f), 10), kTrendRising);
    // The limit on H / F follows the number of days counted.
    StockBox_Info nearHigh = boxOf(12, 9, 10, 13.5f, 9);  // H / F = 1.125
    EXPECT_EQ(classifyWindow(nearHigh, 9), kTrendUnclear);
    EXPECT_EQ(classifyWindow(nearHigh, 10), kTrendRising);
}

TEST(Window, WindowsFromOneOffsetAreThoseMeasuredOneByOne) {
    // Windows of no days, of equal days and longer than the text, from
    // offsets near and past the text's end, of views of every day.
    static constexpr std::int32_t kDays[] = {-1, 0, 1, 4, 4, 9, 40};
    auto bits = [](const StockBox_Info& b) {
        return std::array{std::bit_cast<std::uint32_t>(b.minPrice),
                          std::bit_cast<std::uint32_t>(b.maxPrice),
                          std::bit_cast<std::uint32_t>(b.avgPrice),
                          std::bit_cast<std::uint32_t>(b.startPrice),
                          std::bit_cast<std::uint32_t>(b.endPrice),
                          static_cast<std::uint32_t>(b.endIndex),
                          b.trend};
    };
    for (int length : {0, 3, 12, 45}) {
        HistoryBuilder builder;
        for (int i = 0; i < length; ++i)
            builder.day(10.0f + static_cast<float>(i * 7 % 11) / 3, i % 5 ? 100 : 0);
        const Parsed p(builder.text());
        for (std::int64_t k = 0; k < p.view().size(); ++k) {
            const HistoryView v = k == 0 ? p.view() : *p.view().dayView(k);
            for (auto [offset, later] : {std::pair{1, 1}, {1, 5}, {3, 4}, {1, 30}, {20, 20}}) {
                StockBox_Info together[std::size(kDays)];
                windowsFromOneOffset(v, offset, kDays, together);
                for (std::size_t i = 0; i < std::size(kDays); ++i)
                    ASSERT_EQ(bits(together[i]), bits(windowStatistics(v, kDays[i], offset)))
                        << length << " " << k << " " << offset << " " << kDays[i];
                for (std::int32_t laterDays : {0, 7, 180}) {
                    const StockBox_Info alongside =
                        windowsFromOneOffset(v, offset, kDays, together, laterDays, later);
                    ASSERT_EQ(bits(alongside), bits(windowStatistics(v, laterDays, later)))
                        << length << " " << k << " " << later << " " << laterDays;
                    for (std::size_t i = 0; i < std::size(kDays); ++i)
                        ASSERT_EQ(bits(together[i]), bits(windowStatistics(v, kDays[i], offset)))
                            << length << " " << k << " " << offset << " " << kDays[i] << " with "
                            << laterDays;
                }
            }
        }
    }
}

TEST(DayLag, WeekdaysWeekendsAndBadDates) {
    // 2025-09-04 is a Thursday; 2025-01-31 to 2025-03-03 is 1 month 3 days,
    // of which only the day part counts.
    const struct {
        const char *newest, *now;
        std::int32_t lag;
    } cases[] = {{"2025-09-04", "2025-09-08 10:00:00", 2},
                 {"2025-09-04", "2025-09-06 10:00:00", 1},
                 {"2025-09-04", "2025-09-04 16:00:00", 0},
                 {"2025-09-08", "2025-09-08 10:00:00", -2},
                 {"2025-01-31", "2025-03-03 10:00:00", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(daysBefortoday(Parsed(HistoryBuilder(c.newest).flat(20, 10).text()).view(),
                                 *parseDateTime(c.now)),
                  c.lag)
            << c.newest << " " << c.now;
    // The first candidate decides even when its date is bad.
    Parsed bad(HistoryBuilder().raw("").raw("2025-13-45,1,1,1,1,1000,1").flat(20, 10).text());
    EXPECT_EQ(daysBefortoday(bad.view(), *parseDateTime("2025-09-03 10:00:00")), kUnknownDayLag);
    // Acceleration is still judged three days behind (a flat history: any rise).
    Parsed flat(HistoryBuilder("2025-09-01").flat(20, 10).text());
    EXPECT_TRUE(
        isAcceleration(flat.view(), {"600000", 11, 11, 10}, *parseDateTime("2025-09-04 10:00:00")));
}

TEST(HistoricalDay, ViewsRecordsAndHighestClose) {
    ParsedHistory h("H\nA\nB\nC\nD\n");
    EXPECT_EQ(historicalDayText(HistoryView(h), 3), "H\nC\nD\n\n");
    auto twice = HistoryView(h).dayView(2)->dayView(4);
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->size(),
              ParsedHistory(*historicalDayText(*HistoryView(h).dayView(2), 4)).size());

    // Day 3 has 6 fields: day 2's previous close is 1.0.
    Parsed p(HistoryBuilder().days({10, 11}).raw("2025-09-01,1,1,1,9,1000").day(8).text());
    EXPECT_EQ(historicalDayTrade(p.view(), 2, "600000")->yesClose, 1.0f);
    EXPECT_EQ(historicalDayTrade(p.view(), 1, "600000")->yesClose, 11.0f);
    EXPECT_FALSE(historicalDayTrade(p.view(), 5, "600000"));

    Parsed q(HistoryBuilder().days({50, 40, 30, 12, 11, 13, 10, 10, 10, 10, 99}).text());
    EXPECT_EQ(getHisdayMaxPrice(q.view(), 10, 3), 13.0f);
}

TEST(HistoryLines, ReadsEveryLineAsTheGeneralReadersDo) {
    // Closes and volumes the short paths read, and those they leave to the
    // general reader; lines past 64 bytes, non-ASCII lines, every newline
    // character. The same lines early in the text (read sixteen bytes at a
    // time) and at its end (read one by one).
    const char* closes[] = {"11.98",     "0.05",    "123.",      ".5",
                            "7",         "1234567", "+3.5",      " 4.25",
                            "1e3",       "-5",      "12345678",  "1234567.8",
                            "0.0001234", "3.5x",    "1677721.7", "18446744073709551617",
                            "",          ".",       "09.50"};
    const char* volumes[] = {"754189",
                             "9",
                             "10",
                             "09",
                             "010",
                             "9.9999999",
                             "1e1",
                             "",
                             "+20",
                             "99999999999999999999",
                             "12345678901234567890123"};
    std::string cases;
    for (std::size_t i = 0; i < std::size(closes); ++i)
        cases += "2025-09-0" + std::to_string(1 + i % 9) + ",1.5,2,1," + closes[i] + "," +
                 volumes[i % std::size(volumes)] + ",1.5" + (i % 5 == 4 ? ",extra" : "") + "\n";
    // Lines of 63, 64 and 65 bytes.
    for (std::size_t tail = 34; tail <= 36; ++tail)
        cases += "2025-09-01,1,1,1,12.5,1000,1," + std::string(tail, 't') + "\n";
    cases +=
        "二〇二五,1,1,1,12.5,1000,1\r\n\x0B\x0C"
        "2025-09-02,1,1,1,3,100\xC2\x85"
        "x\xE2\x80\xA8"
        "y\n";
    const std::string text = "Date,Open,High,Low,Close,Volume,Adj Close\n" + cases +
                             std::string(200, 'z') + "\n" + cases;

    ParsedHistory parsed(text);
    const std::vector<std::string_view> elements = splitLines(text);
    ASSERT_EQ(parsed.size(), static_cast<std::int64_t>(elements.size()));
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const DayLine& line = parsed.line(static_cast<std::int64_t>(i));
        const std::vector<std::string_view> fields = splitOn(elements[i], ',');
        auto number = [&](std::size_t f) {
            return f < fields.size() ? leadingFloat(fields[f]) : 0;
        };
        SCOPED_TRACE(std::string(elements[i]));
        EXPECT_EQ(line.text, elements[i]);
        EXPECT_EQ(line.fields, fields.size());
        EXPECT_EQ(line.length, utf16Length(elements[i]));
        EXPECT_EQ(line.date, fields[0]);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(line.close),
                  std::bit_cast<std::uint32_t>(number(4)));
        EXPECT_EQ(line.traded, fields.size() > 5 && double{number(5)} >= 10.0);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(line.open()),
                  std::bit_cast<std::uint32_t>(number(1)));
    }

    // Newline sequences on both sides of every 32-byte boundary.
    for (std::size_t at = 0; at < 40; ++at)
        for (const char* sequence : {"\xE2\x80\xA9", "\xC2\x85", "\r\n", "\xE2\x80"}) {
            const std::string t = std::string(at, 'a') + sequence + std::string(40, 'b') + "\n";
            ParsedHistory p(t);
            const auto expected = splitLines(t);
            ASSERT_EQ(p.size(), static_cast<std::int64_t>(expected.size())) << at << sequence;
            for (std::size_t i = 0; i < expected.size(); ++i)
                EXPECT_EQ(p.line(static_cast<std::int64_t>(i)).text, expected[i]) << at;
        }
}
