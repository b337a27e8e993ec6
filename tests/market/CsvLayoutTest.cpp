// The CSV layouts of other tools: columns found by name in any order, units
// made the history's, either day order, the code from a column or the
// file's name, a whole market in one file (read in pieces on threads, its
// lines still numbered in the file), lines that cannot be read named and
// the rest kept, suspended days and what is no share left out.

#include "orvane/market/CsvLayout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "orvane/market/ImportedDays.h"

using namespace orvane;

namespace {

struct Day {
    std::string date;
    double open, high, low, close, volume;
    bool operator==(const Day&) const = default;
};

std::vector<Day> daysOf(const LayoutCsvRead::Stock& stock) {
    std::vector<Day> out;
    for (const DailyBar& b : settleDays(stock.days, "2030-01-01").bars)
        out.push_back({b.date, b.open, b.high, b.low, b.close, b.volume});
    return out;
}

}  // namespace

TEST(CsvLayout, TheHeaderTellsTheLayout) {
    EXPECT_EQ(csvLayoutOfHeader("\xEF\xBB\xBF日期,股票代码,开盘,收盘,最高,最低,成交量,成交额"),
              CsvLayout::Akshare);
    EXPECT_EQ(csvLayoutOfHeader("ts_code,trade_date,open,high,low,close,pre_close,vol,amount\r"),
              CsvLayout::Tushare);
    EXPECT_EQ(csvLayoutOfHeader("date,code,open,high,low,close,preclose,volume,amount,tradestatus"),
              CsvLayout::Baostock);
    EXPECT_EQ(csvLayoutOfHeader("Date,Open,Close,High,Low,Volume,Amount"), CsvLayout::Own);
    EXPECT_FALSE(csvLayoutOfHeader("symbol,name,industry"));
    EXPECT_FALSE(csvLayoutOfHeader(""));
}

TEST(CsvLayout, EachLayoutGivesTheSameDaysInTheHistorysUnits) {
    const std::vector<Day> expected = {{"2025-09-01", 10.0, 10.5, 9.8, 10.2, 1234.5},
                                       {"2025-09-02", 10.2, 10.9, 10.1, 10.8, 2000}};
    const struct {
        CsvLayout layout;
        std::string text;
    } files[] = {
        {CsvLayout::Akshare,
         "日期,股票代码,开盘,收盘,最高,最低,成交量,成交额,振幅\n"
         "2025-09-01,600000,10.0,10.2,10.5,9.8,1234.5,1259190,2\n"
         "2025-09-02,600000,10.2,10.8,10.9,10.1,2000,2160000,3\n"},
        // newest first, the amount in thousand yuan
        {CsvLayout::Tushare,
         "ts_code,trade_date,open,high,low,close,pre_close,change,pct_chg,vol,amount\r\n"
         "600000.SH,20250902,10.2,10.9,10.1,10.8,10.2,0.6,5.88,2000,2160\r\n"
         "600000.SH,20250901,10.0,10.5,9.8,10.2,10.0,0.2,2,1234.5,1259.19\r\n"},
        // the volume in shares; a suspended day left out
        {CsvLayout::Baostock,
         "date,code,open,high,low,close,preclose,volume,amount,adjustflag,turn,tradestatus,"
         "pctChg,isST\n"
         "2025-08-29,sh.600000,10.0,10.0,10.0,10.0,10.0,,,3,,0,0,0\n"
         "2025-09-01,sh.600000,10.0,10.5,9.8,10.2,10.0,123450,1259190,3,0.1,1,2,0\n"
         "2025-09-02,sh.600000,10.2,10.9,10.1,10.8,10.2,200000,2160000,3,0.1,1,5.88,0\n"},
    };
    for (const auto& f : files) {
        const LayoutCsvRead read = readLayoutCsv(f.text, f.layout, std::nullopt);
        ASSERT_FALSE(read.fault) << *read.fault;
        EXPECT_TRUE(read.refused.empty()) << read.refused.front();
        ASSERT_EQ(read.stocks.size(), 1u);
        EXPECT_EQ(read.stocks[0].code.code, "600000");
        EXPECT_EQ(daysOf(read.stocks[0]), expected) << csvLayoutName(f.layout);
    }
    EXPECT_EQ(readLayoutCsv(files[2].text, CsvLayout::Baostock, std::nullopt).suspendedDays, 1u);
    // Shares become the very lots the text of lots gives (37707647 * 0.01
    // would be a hair off 377076.47).
    const LayoutCsvRead shares = readLayoutCsv(
        "date,code,open,high,low,close,volume\n2025-09-01,sh.600000,10,10,10,10,37707647\n",
        CsvLayout::Baostock, std::nullopt);
    EXPECT_EQ(shares.stocks.at(0).days.at(0).volume, 377076.47);
}

TEST(CsvLayout, TheCodeComesFromTheFilesNameWithoutAColumn) {
    const std::string text = "日期,开盘,收盘,最高,最低,成交量\n2025-09-01,10,10.2,10.5,9.8,100\n";
    const LayoutCsvRead read =
        readLayoutCsv(text, CsvLayout::Akshare, parseSecurityCode("sz000001"));
    ASSERT_EQ(read.stocks.size(), 1u);
    EXPECT_EQ(read.stocks[0].code.code, "000001");
    const LayoutCsvRead none = readLayoutCsv(text, CsvLayout::Akshare, std::nullopt);
    EXPECT_EQ(none.fault.value_or(""),
              "line 1: no \"股票代码\" column, and the file's name is no stock code");
    EXPECT_EQ(
        readLayoutCsv("ts_code,trade_date,open,high,low,close\n", CsvLayout::Tushare, std::nullopt)
            .fault.value_or(""),
        "line 1: no \"vol\" column (the volume) in the header of the tushare daily CSV");
    EXPECT_EQ(readLayoutCsv(" \n", CsvLayout::Tushare, std::nullopt).fault.value_or(""),
              "the file is empty");
}

TEST(CsvLayout, LinesThatCannotBeReadAreNamedAndTheRestKept) {
    const std::string text =
        "ts_code,trade_date,open,high,low,close,vol\n"
        "600000.SH,20250905,10,11,9,10,100\n"
        "600000.SH,20250231,10,11,9,10,100\n"      // line 3
        "600000.SH,20250903,10,eleven,9,10,100\n"  // line 4
        "HK00700,20250903,10,11,9,10,100\n"        // line 5
        "600000.SH,20250902\n"                     // line 6
        "\n"
        "000001.SH,20250902,3000,3100,2900,3050,1e9\n"  // the Shanghai index
        "430047.BJ,20250902,10,11,9,10,100\n"
        "830799.BJ,20250902,10,11,9,10,100\n"
        "830799.BJ,20250903,10,11,9,10,100\n"
        "600000.SH,20250901,10,11,9,10,100";
    const LayoutCsvRead read = readLayoutCsv(text, CsvLayout::Tushare, std::nullopt);
    ASSERT_FALSE(read.fault);
    ASSERT_EQ(read.stocks.size(), 1u);
    EXPECT_EQ(read.stocks[0].days.size(), 2u);
    EXPECT_EQ(read.stocks[0].days[1].line, 12u);
    EXPECT_EQ(read.refused,
              (std::vector<std::string>{"line 3: \"20250231\" is not a date; refused",
                                        "line 4: the high \"eleven\" is not a number; refused",
                                        "line 5: the code \"HK00700\" is not a stock code; refused",
                                        "line 6: the open \"\" is not a number; refused"}));
    EXPECT_EQ(read.beijing, (std::vector<std::string>{"430047", "830799"}));
    EXPECT_EQ(read.otherLines, 1u);
}

// A file of many stocks, large enough to be read in pieces: every day lands
// with its stock and its line number in the file, whatever piece read it.
TEST(CsvLayout, AWholeMarketFileReadInPiecesKeepsItsLineNumbers) {
    std::string text = "date,code,open,high,low,close,volume\n";
    const int stocks = 40, days = 600;
    for (int d = 0; d < days; ++d)
        for (int s = 0; s < stocks; ++s) {
            char line[96];
            std::snprintf(line, sizeof line, "%04d-%02d-%02d,sz.%06d,10,11,9,10.%02d,%d\n",
                          2000 + d / 336, 1 + d / 28 % 12, 1 + d % 28, s, s, 100 * (d + 1));
            text += line;
        }
    text += "bad line\n";
    // Pieces of 64 KB, as a file of many megabytes is cut into pieces of 8 MB.
    const LayoutCsvRead read =
        readLayoutCsv(text, CsvLayout::Baostock, std::nullopt, 3, 4, 64u << 10);
    ASSERT_EQ(read.stocks.size(), static_cast<std::size_t>(stocks));
    for (int s = 0; s < stocks; ++s) {
        const auto& stock = read.stocks[static_cast<std::size_t>(s)];
        ASSERT_EQ(stock.days.size(), static_cast<std::size_t>(days));
        for (int d = 0; d < days; d += 97) {
            const ImportedDay& day = stock.days[static_cast<std::size_t>(d)];
            EXPECT_EQ(day.line, static_cast<std::uint32_t>(2 + d * stocks + s));
            EXPECT_EQ(day.file, 3u);
            EXPECT_EQ(day.volume, d + 1.0);
            char close[8];
            std::snprintf(close, sizeof close, "10.%02d", s);
            EXPECT_EQ(day.close, std::strtod(close, nullptr));
        }
    }
    EXPECT_EQ(read.refused, (std::vector<std::string>{"line " + std::to_string(2 + days * stocks) +
                                                      ": the code \"\" is not a stock code; "
                                                      "refused"}));
}
