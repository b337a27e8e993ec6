#include <gtest/gtest.h>

#include <cmath>

#include "common/PastVolumes.h"
#include "common/PriceSpeed.h"
#include "markettable/MarketQuote.h"
#include "markettable/MarketRows.h"
#include "markettable/MarketTableModel.h"
#include "watchlists/WatchRows.h"

using namespace orvane;
using namespace orvane::app;

namespace {

// A quote line as the service writes it: 32 fields and more.
std::string quoteLine(const std::string& symbol, const std::string& name, const std::string& open,
                      const std::string& yesClose, const std::string& price,
                      const std::string& high, const std::string& low, const std::string& volume,
                      const std::string& amount) {
    std::string line = "var hq_str_" + symbol + "=\"" + name + "," + open + "," + yesClose + "," +
                       price + "," + high + "," + low + "," + price + "," + price + "," + volume +
                       "," + amount;
    for (int i = 0; i < 20; ++i) line += ",0";
    return line + ",2026-12-08,14:59:57,00\";\n";
}

MarketQuote quote(const std::string& code, double yesClose, double price, double high = 0,
                  double low = 0) {
    MarketQuote q;
    q.code = code;
    q.name = "股" + code;
    q.previousClose = yesClose;
    q.price = q.open = price;
    q.high = high ? high : price;
    q.low = low ? low : price;
    return q;
}

}  // namespace

TEST(MarketQuote, ParsesEveryWholeLineOfAnAnswer) {
    const std::string text =
        quoteLine("sh600000", "浦发银行", "10.00", "9.90", "10.10", "10.20", "9.80", "123400",
                  "1246340.00") +
        "var hq_str_sz000001=\"\";\n" +  // unknown code: an empty quote
        quoteLine("sz000002", "万科Ａ", "x", "9.90", "10.10", "10.20", "9.80", "1", "1") +
        quoteLine("sz399001", "深证成指", "1000", "990", "1010", "1020", "980", "5", "6");
    const auto quotes = parseQuoteLines(text);
    ASSERT_EQ(quotes.size(), 2u);
    const MarketQuote& q = quotes[0];
    EXPECT_EQ(std::tuple(q.code, q.name, q.open, q.previousClose, q.price, q.high, q.low),
              std::tuple("600000", "浦发银行", 10.0, 9.9, 10.1, 10.2, 9.8));
    EXPECT_EQ(std::tuple(q.volume, q.amount, q.date, q.time),
              std::tuple(123400.0, 1246340.0, "2026-12-08", "14:59:57"));
    EXPECT_EQ(quotes[1].code, "399001");
}

TEST(MarketQuote, AsksAtMostAThousandSymbolsARequest) {
    std::vector<std::string> codes;
    for (int i = 0; i < 2500; ++i) codes.push_back(i % 2 ? "600000" : "000001");
    const auto batches = quoteBatches(codes);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(std::tuple(batches[0].size(), batches[1].size(), batches[2].size()),
              std::tuple(1000u, 1000u, 500u));
}

TEST(MarketRows, CellsShowTheDaysFiguresOrADash) {
    MarketRow row{"600000", "浦发银行", quote("600000", 10, 10.5, 10.8, 9.9), {}, 0.25, {},
                  88,       "B模式"};
    row.quote->volume = 1234500;      // shares: 12,345 lots
    row.quote->amount = 123456789.0;  // yuan
    const std::pair<MarketColumn, const char*> cells[] = {
        {MarketColumn::Price, "10.50"},   {MarketColumn::Percent, "5.00%"},
        {MarketColumn::Change, "0.50"},   {MarketColumn::Speed, "0.25%"},
        {MarketColumn::VolumeRatio, "—"}, {MarketColumn::Amplitude, "9.00%"},
        {MarketColumn::Volume, "1.23万"}, {MarketColumn::Amount, "1.23亿"},
        {MarketColumn::Score, "88"},      {MarketColumn::Verdict, "B模式"},
        {MarketColumn::Name, "股600000"}};
    for (const auto& [column, text] : cells)
        EXPECT_EQ(marketCellText(row, column), text) << marketColumnTitle(column);
    EXPECT_EQ(marketCellTrend(row, MarketColumn::Percent), 1);

    MarketRow suspended{"600001", "停牌股", quote("600001", 10, 0), {}, 0, {}, {}, {}};
    EXPECT_EQ(marketCellText(suspended, MarketColumn::Percent), "停牌");
    EXPECT_EQ(marketCellText(suspended, MarketColumn::Price), "—");
    EXPECT_TRUE(std::isnan(marketSortKey(suspended, MarketColumn::Percent)));
    MarketRow unquoted{"600002", "未报价", {}, {}, 0, {}, {}, {}};
    EXPECT_EQ(marketCellText(unquoted, MarketColumn::Name), "未报价");
    EXPECT_EQ(marketCellText(unquoted, MarketColumn::Change), "—");
    EXPECT_EQ(verdictWordsOf({"600000", 150, true, 4}), "B模式 双炮");
    row.trend = "上涨趋势";
    EXPECT_EQ(marketCellText(row, MarketColumn::Verdict), "上涨趋势 B模式");
}

TEST(MarketRows, TheTrendIsTheResultFilesOwnNotTheOneFiveDaysBefore) {
    EXPECT_EQ(trendWordsOfResultFile("before_trend=2\nstockScore=1\ntrend=1\r\n"), "上涨趋势");
    EXPECT_EQ(trendWordsOfResultFile("trend=3"), "盘整状态");
    EXPECT_EQ(trendWordsOfResultFile("before_trend=2\n"), std::nullopt);
    EXPECT_EQ(trendWordsOfResultFile("trend=\n"), std::nullopt);
}

TEST(PriceSpeed, MovesAgainstThePriceFiveMinutesBack) {
    PriceSpeed speed;
    const TimePoint t0{};
    using std::chrono::seconds;
    EXPECT_EQ(speed.record("a", 10, t0), 0);                             // nothing earlier
    EXPECT_NEAR(speed.record("a", 10.1, t0 + seconds(60)), 1, 1e-9);     // oldest kept: 10
    EXPECT_NEAR(speed.record("a", 10.5, t0 + seconds(300)), 5, 1e-9);    // exactly 5 min: 10
    EXPECT_NEAR(speed.record("a", 10.605, t0 + seconds(361)), 5, 1e-9);  // 10.1 at 60 s
    EXPECT_EQ(speed.record("b", 0, t0), 0);                              // no price
}

TEST(MarketTableModel, SortsByAnyColumnWithMissingFiguresLast) {
    MarketTableModel model;
    model.setStocks({{"600003", "丙"}, {"600001", "甲"}, {"600002", "乙"}, {"600004", "丁"}});
    model.applyQuotes({quote("600001", 10, 11), quote("600002", 10, 9), quote("600003", 10, 10.5),
                       quote("600004", 10, 0)},
                      TimePoint{});
    const auto codes = [&model] { return model.codesOfRows(0, 3); };
    EXPECT_EQ(codes(), (std::vector<std::string>{"600001", "600002", "600003", "600004"}));
    const int percent = static_cast<int>(MarketColumn::Percent);
    model.sort(percent, Qt::DescendingOrder);
    EXPECT_EQ(codes(), (std::vector<std::string>{"600001", "600003", "600002", "600004"}));
    model.sort(percent, Qt::AscendingOrder);
    EXPECT_EQ(codes(), (std::vector<std::string>{"600002", "600003", "600001", "600004"}));
    // A refresh orders the rows again under the column chosen.
    model.applyQuotes({quote("600002", 10, 12)}, TimePoint{} + std::chrono::seconds(5));
    EXPECT_EQ(codes(), (std::vector<std::string>{"600003", "600001", "600002", "600004"}));
    // The rest of an older round, landing late, leaves the newer figures.
    model.applyQuotes({quote("600002", 10, 9)}, TimePoint{} + std::chrono::seconds(1));
    EXPECT_EQ(marketCellText(model.rowAt(2), MarketColumn::Price), "12.00");
}

TEST(MarketTableModel, NamesSortInPinyinOrder) {
    MarketTableModel model;
    model.setStocks({{"600001", "甲"}, {"600002", "乙"}, {"600003", "丙"}, {"600004", "丁"}});
    model.sort(static_cast<int>(MarketColumn::Name), Qt::AscendingOrder);  // bing ding jia yi
    EXPECT_EQ(model.codesOfRows(0, 3),
              (std::vector<std::string>{"600003", "600004", "600001", "600002"}));
}

TEST(VolumeRatioRows, BothTablesMeasureTodayAgainstTheFiveDaysBeforeIt) {
    // Today's line (2026-12-08) and a sixth day are left out: 50000 lots in
    // 5 × 240 minutes is 4166.67 shares a minute; 500000 shares in the 60
    // minutes begun by 10:29 is 8333.33 a minute, twice as many.
    const std::string history =
        "Date,Open,High,Low,Close,Volume,Adj Close\n"
        "2026-12-08,10,10,10,10,99999,10\n"
        "2026-12-07,10,10,10,10,12000,10\n"
        "2026-12-04,10,10,10,10,8000,10\n"
        "2026-12-03,10,10,10,10,10000,10\n"
        "2026-12-02,10,10,10,10,9000,10\n"
        "2026-12-01,10,10,10,10,11000,10\n"
        "2026-11-30,10,10,10,10,50000,10\n";
    const std::vector<double> lots = pastDaysLots(history, "2026-12-08");
    EXPECT_EQ(lots, (std::vector<double>{11000, 9000, 10000, 8000, 12000}));

    MarketRow market;
    market.quote = quote("600000", 10, 10.5);
    market.quote->volume = 500000;
    market.quote->date = "2026-12-08";
    market.quote->time = "10:29:00";
    EXPECT_FALSE(volumeRatioOf(market).has_value());  // no past volumes yet
    market.pastDaysLots = lots;
    ASSERT_TRUE(volumeRatioOf(market).has_value());
    EXPECT_NEAR(*volumeRatioOf(market), 2.0, 1e-9);

    WatchRow watch{"600000", WatchQuote{}, std::nullopt, lots};
    watch.quote->record.date = "2026-12-08 10:29:00";
    watch.quote->volumeShares = 500000;
    ASSERT_TRUE(watchVolumeRatio(watch).has_value());
    EXPECT_NEAR(*watchVolumeRatio(watch), 2.0, 1e-9);
    EXPECT_EQ(watchCell(watch, WatchColumn::VolumeRatio).text, "2.00");
}
