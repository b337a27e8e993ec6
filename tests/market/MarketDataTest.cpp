// A user's market read in whatever layout it is in: the layout told from the
// folder and the headers, a folder in none refused with the layouts known,
// days put in order whichever way a file runs, one stock gathered from many
// files, a repeated or impossible day refused with its file and line, Beijing
// left out with one note, and the stock's names from the list.

#include "orvane/market/MarketData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "TempDataDir.h"
#include "orvane/core/TextEncoding.h"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

void write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string record(std::uint32_t date, std::uint32_t close, std::uint32_t volume) {
    std::string r(32, '\0');
    const std::uint32_t fields[] = {date, close, close, close, close};
    std::memcpy(r.data(), fields, sizeof fields);
    std::memcpy(r.data() + 24, &volume, 4);
    return r;
}

struct Read {
    MarketData data;
    std::vector<std::string> problems;
};

Read readMarket(const fs::path& path, const std::vector<ListedStock>& listing = {}) {
    Read out;
    out.data =
        readMarketData(path, listing, [&](const std::string& p) { out.problems.push_back(p); });
    return out;
}

bool mentions(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos) return true;
    return false;
}

std::vector<std::string> datesOf(const StockSeries& s) {
    std::vector<std::string> out;
    for (const DailyBar& b : s.bars) out.push_back(b.date);
    return out;
}

}  // namespace

TEST(MarketData, AFolderInNoLayoutIsRefusedWithTheLayoutsKnown) {
    test::TempDataDir dir;
    write(dir.path() / "prices" / "list.csv", "symbol,name\n600000,浦发银行\n");
    write(dir.path() / "empty" / "readme.txt", "nothing");
    for (const fs::path& path :
         {dir.path() / "prices", dir.path() / "empty", dir.path() / "prices" / "list.csv"}) {
        const Read read = readMarket(path);
        EXPECT_FALSE(read.data.layoutFound);
        EXPECT_TRUE(read.data.stocks.empty());
        for (const char* layout : {"our daily CSV", "day files", "akshare", "tushare", "baostock"})
            EXPECT_NE(read.data.failure.find(layout), std::string::npos) << read.data.failure;
    }
    EXPECT_NE(readMarket(dir.path() / "none").data.failure.find("no such file or folder"),
              std::string::npos);
}

TEST(MarketData, DayFilesAreFoundBelowTheFolderOrVipdocAndOnlySharesRead) {
    test::TempDataDir dir;
    const fs::path vipdoc = dir.path() / "tdx" / "vipdoc";
    // Newest first, with a day that cannot follow the one before and a
    // repeated day.
    write(vipdoc / "sh" / "lday" / "sh600000.day",
          record(20250905, 1010, 200) + record(20250904, 12000, 100) + record(20250903, 1000, 100) +
              record(20250902, 1000, 100) + record(20250902, 990, 100) +
              record(20250901, 1000, 100));
    write(vipdoc / "sz" / "lday" / "sz000001.day", record(20250902, 1200, 300));
    write(vipdoc / "sh" / "lday" / "sh000001.day", record(20250902, 380000, 9));  // an index
    write(vipdoc / "sz" / "lday" / "sz159915.day", record(20250902, 2345, 9));    // a fund
    write(vipdoc / "bj" / "lday" / "bj830799.day", record(20250902, 1000, 9));
    write(vipdoc / "bj" / "lday" / "bj430047.day", record(20250902, 1000, 9));
    write(vipdoc / "sh" / "lday" / "notes.day", "x");
    for (const fs::path& path : {dir.path() / "tdx", vipdoc}) {
        test::FixedNow today(2025, 12, 8, 16);
        const Read read = readMarket(path, {{"600000", "浦发银行", "银行", ""}});
        ASSERT_TRUE(read.data.failure.empty()) << read.data.failure;
        EXPECT_EQ(read.data.layout, MarketLayout::DayFiles);
        ASSERT_EQ(read.data.stocks.size(), 2u);
        const StockSeries& sz = read.data.stocks[0];
        EXPECT_EQ(sz.listing.code, "000001");
        EXPECT_EQ(sz.listing.name, "000001");  // not in the list: its code
        EXPECT_EQ(sz.bars[0].close, 12.0);     // not the index's 3800
        const StockSeries& sh = read.data.stocks[1];
        EXPECT_EQ(sh.listing.name, "浦发银行");
        EXPECT_EQ(datesOf(sh), (std::vector<std::string>{"2025-09-01", "2025-09-02", "2025-09-03",
                                                         "2025-09-05"}));
        EXPECT_EQ(sh.bars[1].close, 10.0);  // the first reading of a day read twice
        EXPECT_EQ(sh.refusedLines, 2u);
        EXPECT_EQ(read.data.refusedLines, 2u);
        EXPECT_TRUE(mentions(read.problems,
                             "sh600000.day: 600000: record 5: 2025-09-02 is "
                             "there already; refused"));
        EXPECT_TRUE(mentions(read.problems,
                             "sh600000.day: 600000: record 2: the open 120 is "
                             "beyond ten times"));
        EXPECT_TRUE(mentions(read.problems, "notes.day: the file name is no day file's"));
        EXPECT_EQ(read.data.notes,
                  (std::vector<std::string>{
                      "2 Beijing stocks (codes 4, 8 and 92) left out: the code rules of this "
                      "program know Shanghai and Shenzhen only",
                      "2 day files of indexes, funds and bonds left out"}));
    }
}

TEST(MarketData, CsvFilesOfAnEncodingAndOneStockOverManyFilesAreGathered) {
    test::TempDataDir dir;
    test::FixedNow today(2025, 12, 8, 16);
    const fs::path folder = dir.path() / "ak";
    const std::string header = "日期,股票代码,开盘,收盘,最高,最低,成交量,成交额\n";
    // Two years of one stock in two files, one of them in GB 18030; a file
    // that cannot be read; a stock list lying beside them.
    write(folder / "600000-2024.csv",
          *utf8ToGb18030(header + "2024-12-31,600000,10,10,10,10,100,1000\n"));
    write(folder / "600000-2025.csv", "\xEF\xBB\xBF" + header +
                                          "2025-01-03,600000,10,10.5,10.5,10,100,1000\n"
                                          "2025-01-02,600000,10,10.2,10.2,10,100,1000\n"
                                          "2025-01-06,600000,10,9,10,9,100,1000\n");
    write(folder / "bad.csv", "\xFF\xFE\x80\n");
    write(folder / "list.csv", "symbol,name\n600000,浦发银行\n");
    const Read read = readMarket(folder);
    ASSERT_TRUE(read.data.failure.empty()) << read.data.failure;
    EXPECT_EQ(read.data.layout, MarketLayout::Akshare);
    ASSERT_EQ(read.data.stocks.size(), 1u);
    EXPECT_EQ(datesOf(read.data.stocks[0]),
              (std::vector<std::string>{"2024-12-31", "2025-01-02", "2025-01-03", "2025-01-06"}));
    EXPECT_EQ(read.data.stocks[0].bars[2].close, 10.5);
    EXPECT_TRUE(mentions(read.problems, "bad.csv: neither UTF-8 nor GB 18030 text; skipped"));
    EXPECT_TRUE(mentions(read.problems, "list.csv: line 1 names the columns of no layout known"));
    EXPECT_EQ(read.problems.size(), 2u);
}
