// The live demo market: session hours, the walk's bounds and consistency,
// and the quote service moving its stored copies only when live.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ServerSamples.h"
#include "TempDataDir.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/httpserver/QuoteService.h"
#include "orvane/httpserver/RequestRouter.h"
#include "orvane/market/QuoteLine.h"

using namespace orvane;
using namespace orvane::server;

namespace {

// A full stored quote line of 600000 at a close of 10.00.
std::string storedQuote(const std::string& close = "10.00") {
    std::string line = "var hq_str_sh600000=\"PF,9.95,9.90," + close + ",10.10,9.80," + close +
                       "," + close + ",2400000,24000000";
    for (int i = 0; i < 10; ++i) line += ",100," + close;
    return line + ",2025-12-05,15:00:00,00\";";
}

LiveMoment momentAt(int hour, int minute, int second = 0, std::uint64_t seed = 7) {
    return *liveMomentAt(LiveMarket::Always, {2025, 12, 3, hour, minute, second, 3}, seed);
}

std::string fieldText(const std::string& line, int index) {
    std::size_t pos = 0;
    for (int i = 0; i < index; ++i) pos = line.find(',', pos) + 1;
    return line.substr(pos, line.find(',', pos) - pos);
}

float field(const StockRecord& quote, const char* key) {
    return leadingFloat(quote.valueFor(key)->string());
}

}  // namespace

TEST(LiveQuotes, SessionHoursOfATradingDayOnly) {
    struct Case {
        int weekday, hour, minute;
        bool open, moved;  // in the session; the day's walk shown
        const char* time;  // the quote's time
    };
    const Case cases[] = {
        {3, 9, 29, false, false, ""},         {3, 9, 30, true, true, "09:30:00"},
        {3, 11, 29, true, true, "11:29:00"},  {3, 11, 30, false, true, "11:30:00"},
        {3, 12, 59, false, true, "11:30:00"}, {3, 13, 0, true, true, "11:30:00"},
        {3, 14, 59, true, true, "14:59:00"},  {3, 15, 0, false, true, "15:00:00"},
        {3, 20, 0, false, true, "15:00:00"},  {1, 10, 0, true, true, "10:00:00"},
        {5, 10, 0, true, true, "10:00:00"},   {6, 10, 0, false, false, ""},
        {0, 10, 0, false, false, ""}};
    for (auto [weekday, hour, minute, open, moved, time] : cases) {
        // 2025-12-01 is a Monday.
        const LocalDateTime t{2025, 12, weekday == 0 ? 7 : weekday, hour, minute, 0, weekday};
        EXPECT_EQ(isTradingSession(t), open) << weekday << " " << hour << ":" << minute;
        const auto moment = liveMomentAt(LiveMarket::SessionHours, t, 1);
        ASSERT_EQ(moment.has_value(), moved) << weekday << " " << hour << ":" << minute;
        if (moment) EXPECT_EQ(moment->time, time);
        EXPECT_TRUE(liveMomentAt(LiveMarket::Always, t, 1));
        EXPECT_FALSE(liveMomentAt(LiveMarket::Off, t, 1));
    }
    // Always live, the night is shown on the afternoon's clock, so a whole
    // morning lies behind it: 20:10 is 13:10, 23:59 is 14:59.
    EXPECT_EQ(momentAt(20, 10).time, "13:10:00");
    EXPECT_EQ(momentAt(23, 59, 59).time, "14:59:55");
    EXPECT_EQ(momentAt(9, 0).time, "14:00:00");
    // The exchanges' holidays are closed all day.
    for (const LocalDateTime holiday :
         {LocalDateTime{2026, 10, 6, 10, 0, 0, 2}, LocalDateTime{2026, 5, 1, 14, 0, 0, 5}}) {
        EXPECT_FALSE(isTradingSession(holiday)) << formatDate(holiday);
        EXPECT_TRUE(liveMomentAt(LiveMarket::Always, holiday, 1));
    }
    // Steps of five seconds: 10:00:04 and 10:00:00 are one step.
    EXPECT_EQ(momentAt(10, 0, 4).step, momentAt(10, 0, 0).step);
    EXPECT_EQ(momentAt(10, 0, 5).step, momentAt(10, 0, 0).step + 1);
    EXPECT_EQ(momentAt(10, 0, 7).time, "10:00:05");
}

TEST(LiveQuotes, TheWalkStaysWithinTheLimitAndHighLowAndVolumeAgree) {
    float lastHigh = 0, lastLow = 1e9, lastVolume = -1;
    std::set<float> prices;
    for (int minute = 9 * 60 + 30; minute < 15 * 60; minute += 7) {
        const LiveMoment moment = momentAt(minute / 60, minute % 60);
        const std::string line = movedQuoteLine(storedQuote(), "600000", moment);
        EXPECT_EQ(line, movedQuoteLine(storedQuote(), "600000", moment));  // pure
        const auto quote = parseSinaData(line, "600000");
        ASSERT_TRUE(quote) << line;
        const float c = field(*quote, "STOCK_closePrice"), h = field(*quote, "STOCK_HighPrice"),
                    l = field(*quote, "STOCK_LowPrice");
        EXPECT_FLOAT_EQ(field(*quote, "STOCK_YesClosePrice"), 10.0f);
        EXPECT_TRUE(l <= c && c <= h && l >= 9.0f && h <= 11.0f) << line;
        EXPECT_TRUE(l <= field(*quote, "STOCK_OpenPrice") && field(*quote, "STOCK_OpenPrice") <= h);
        // The day's high only rises, its low only falls, its volume only grows.
        EXPECT_TRUE(h >= lastHigh && l <= lastLow);
        const float volume = leadingFloat(fieldText(line, 8));
        EXPECT_GE(volume, lastVolume);
        lastHigh = h, lastLow = l, lastVolume = volume;
        prices.insert(c);
        EXPECT_EQ(quote->date, "2025-12-03 " + moment.time);
    }
    EXPECT_GT(prices.size(), 10u);  // it moves
    // Another stock, or another seed, walks another way.
    const LiveMoment noon = momentAt(11, 0);
    EXPECT_NE(movedQuoteLine(storedQuote(), "600000", noon),
              movedQuoteLine(storedQuote(), "600004", noon));
    EXPECT_NE(movedQuoteLine(storedQuote(), "600000", noon),
              movedQuoteLine(storedQuote(), "600000", momentAt(11, 0, 0, 8)));
}

TEST(LiveQuotes, TheBookLiesATickApartAroundThePriceWithVaryingVolumes) {
    std::set<double> volumes;
    for (int minute = 9 * 60 + 31; minute < 15 * 60; minute += 13) {
        const auto quote = parseSinaData(
            movedQuoteLine(storedQuote(), "600000", momentAt(minute / 60, minute % 60)), "600000");
        ASSERT_TRUE(quote && quote->book);
        const QuoteBook& book = *quote->book;
        const double price = std::stod(*quote->closePrice);
        EXPECT_TRUE(book.bids[0].price <= price && price <= book.asks[0].price);
        EXPECT_NEAR(book.asks[0].price - book.bids[0].price, 0.01, 1e-9);
        for (int level = 1; level < 5; ++level) {
            EXPECT_NEAR(book.bids[level - 1].price - book.bids[level].price, 0.01, 1e-9);
            EXPECT_NEAR(book.asks[level].price - book.asks[level - 1].price, 0.01, 1e-9);
        }
        for (const auto* side : {&book.bids, &book.asks})
            for (const BookLevel& level : *side) {
                EXPECT_EQ(std::fmod(level.volume, 100.0), 0.0);  // whole lots
                volumes.insert(level.volume);
            }
    }
    EXPECT_GT(volumes.size(), 20u);
}

TEST(LiveQuotes, TheMinutesAddUpToTheQuoteOfTheSameMoment) {
    struct Case {
        int hour, minute, second;
        std::size_t count;
        const char* last;
    };
    // 10:00:30 has begun 31 minutes; the lunch break and the evening hold
    // the morning and the whole day.
    for (auto [hour, minute, second, count, last] :
         {Case{9, 30, 0, 0, ""}, Case{10, 0, 30, 31, "10:00"}, Case{12, 0, 0, 120, "11:29"},
          Case{13, 0, 5, 121, "13:00"}, Case{15, 30, 0, 240, "14:59"}}) {
        const LiveMoment moment =
            *liveMomentAt(LiveMarket::SessionHours, {2025, 12, 3, hour, minute, second, 3}, 7);
        const auto minutes = liveMinutes(storedQuote(), "600000", moment);
        ASSERT_EQ(minutes.size(), count) << hour << ":" << minute;
        if (!count) continue;
        EXPECT_EQ(minutes.front().time, "09:30");
        EXPECT_EQ(minutes.back().time, last);
        const auto quote =
            *parseSinaData(movedQuoteLine(storedQuote(), "600000", moment), "600000");
        double volume = 0;
        for (const LiveMinute& m : minutes) volume += m.volume;
        EXPECT_DOUBLE_EQ(volume, *quote.volume);
        EXPECT_DOUBLE_EQ(minutes.back().price, std::stod(*quote.closePrice));
        EXPECT_NEAR(minutes.back().averagePrice, *quote.amount / *quote.volume, 1e-9);
    }
    EXPECT_TRUE(liveMinutes(storedQuote("0.00"), "600000", momentAt(10, 0)).empty());
}

TEST(LiveQuotes, ASuspendedStockOrALineThatIsNoQuoteStaysAsItIs) {
    for (const std::string& line :
         {storedQuote("0.00"), std::string("var hq_str_sh600000=\"\";"),
          std::string("var hq_str_sh600000=\"PF,1,2\";"), std::string("\x01\x02\x03 not a quote")})
        EXPECT_EQ(movedQuoteLine(line, "600000", momentAt(10, 0)), line);
}

TEST(LiveQuotes, TheQuoteServiceMovesStoredCopiesOnlyWhenLive) {
    test::SampleTree sample;
    sample.write("const/hisdata/sinadata/600000.txt", storedQuote() + "\n");
    const auto tree = *TreeFiles::open(sample.tree());
    const std::string stored = storedQuote() + "\n";
    {
        test::FixedNow wednesday(2025, 12, 3, 10, 0, 0);
        EXPECT_EQ(QuoteService(tree).answer("sh600000"), stored);
        EXPECT_NE(QuoteService(tree, LiveMarket::SessionHours).answer("sh600000"), stored);
    }
    {
        test::FixedNow beforeTheOpening(2025, 12, 3, 9, 0, 0);
        EXPECT_EQ(QuoteService(tree, LiveMarket::SessionHours).answer("sh600000"), stored);
    }
    test::FixedNow evening(2025, 12, 3, 20, 0, 0);
    const std::string live = QuoteService(tree, LiveMarket::Always).answer("sh600000,sh600000");
    EXPECT_NE(live.substr(0, live.size() / 2), stored);
    EXPECT_EQ(live.substr(0, live.size() / 2), live.substr(live.size() / 2));
}

TEST(LiveQuotes, TheMinutesAddressAnswersOnlyWhenLive) {
    test::SampleTree sample;
    sample.write("const/hisdata/sinadata/600000.txt", storedQuote() + "\n");
    sample.write("const/hisdata/sinadata/000001.txt", storedQuote() + "\n");
    const auto tree = *TreeFiles::open(sample.tree());
    test::FixedNow tenPast(2025, 12, 3, 9, 40, 0);
    EXPECT_EQ(RequestRouter(tree, "/orvane").route("GET", "/min=sh600000", {}).status, 404);

    const Reply reply = RequestRouter(tree, "/orvane", LiveMarket::SessionHours)
                            .route("GET", "/min=sh600000,sh000001,sz000001", {});
    EXPECT_EQ(reply.status, 200);
    // Ten whole minutes of each stock; the unknown symbol has none.
    const auto lines = splitOn(reply.body, '\n');
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_TRUE(lines[0].starts_with("sh600000,09:30,"));
    EXPECT_TRUE(lines[10].starts_with("sz000001,09:30,"));
    EXPECT_EQ(splitOn(lines[19], ',').size(), 5u);
    EXPECT_TRUE(lines[19].starts_with("sz000001,09:39,"));
}
