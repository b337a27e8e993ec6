// The rules of the filter, score and smart sort lists, without a window.

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "lists/FilterStockRows.h"
#include "lists/RowListFile.h"
#include "lists/ScoreListRows.h"
#include "lists/SmartSortRows.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
using namespace orvane::app;
namespace k = orvane::keys;
namespace fs = std::filesystem;

namespace {

StockRecord stock(const std::string& code, const char* close, const char* yes,
                  const char* low = "1", float gain10 = 0) {
    return StockRecord::fromDictionary({{k::STOCK_Code, code},
                                        {k::STOCK_SC_Name, "股" + code},
                                        {k::STOCK_closePrice, close},
                                        {k::STOCK_YesClosePrice, yes},
                                        {k::STOCK_LowPrice, low},
                                        {k::KEY_Gain_10Days, gain10},
                                        {k::KEY_Gain_5Days, gain10 / 2}});
}

/// A quote line of `code` as the quote service writes it (GB 18030).
std::string quoteFile(const std::string& lineCode, const char* close, const char* yes,
                      const char* low) {
    std::string line =
        "var hq_str_sh" + lineCode + "=\"浦发银行,10.00," + yes + "," + close + ",10.60," + low;
    for (int i = 6; i < 33; ++i)
        line += "," + (i == 30 ? std::string("2025-09-03") : i == 31 ? "15:00:00" : "0");
    return *utf8ToGb18030(line + "\";");
}

std::vector<std::string> codes(const std::vector<StockRecord>& rows) {
    std::vector<std::string> out;
    for (const StockRecord& r : rows) out.push_back(r.code);
    return out;
}

}  // namespace

TEST(FilterRows, PercentCellByModeWithItsColourAndFont) {
    struct Case {
        StockRecord row;
        FilterMode mode;
        RowCell cell;
    };
    const Case cases[] = {
        {stock("1", "10.25", "10"),
         FilterMode::TopGainers,
         {"+2.50 %", colours::red, CellFont::Bold12}},
        {stock("1", "9.88", "10"),
         FilterMode::Buy,
         {"-1.20 %", colours::fallingGreen, CellFont::Bold12}},
        {stock("1", "10", "10"),
         FilterMode::TopGainers,
         {"0.00 %", colours::red, CellFont::Bold12}},
        {stock("1", "10.25", "10", "1", 8),
         FilterMode::FiveDay,
         {"+4.00 %", colours::red, CellFont::Bold12}},
        {stock("1", "9.88", "10", "1", 12.5f),
         FilterMode::TenDay,
         {"+12.50 %", colours::fallingGreen, CellFont::Bold12}},
        {stock("1", "0", "10", "1", 12.5f),
         FilterMode::TenDay,
         {"停 牌", colours::red, CellFont::Table}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filterCell(c.row, "pricePercentChanged", c.mode), c.cell) << c.cell.text;
    EXPECT_EQ(filterCell(stock("600000", "9.88", "10"), k::STOCK_Code, FilterMode::Buy),
              (RowCell{"股600000 (600000)", colours::black, CellFont::Label14}));
    EXPECT_EQ(filterCell(stock("1", "9.88", "10"), "Price_Changed", FilterMode::Buy).text, "-0.12");
}

TEST(FilterRows, CountsCaptionsFilesAndTheIndexField) {
    const std::pair<int, int> counts[] = {{0, 20},  {1, 50},  {2, 100}, {3, 200},
                                          {4, 300}, {5, 400}, {-1, 400}};
    for (auto [item, n] : counts) EXPECT_EQ(topGainerCount(item), n) << item;
    EXPECT_EQ(rankingSourceCount(0), 0);  // every stock of the code table
    EXPECT_EQ(rankingSourceCount(4), 300);
    EXPECT_EQ(filterCaption(FilterMode::TopGainers, "2025-12-05"), "涨幅前");
    EXPECT_EQ(filterCaption(FilterMode::Buy, "2025-12-05"), "2025-12-05 可重点关注的个股");
    EXPECT_EQ(filterCaption(FilterMode::TenDay, "2025-12-05"), "2025-12-05 10日排名");
    EXPECT_EQ(filterResultFile(FilterMode::FiveDay, "/g", "2025-12-05"),
              "/g/2025-12-05_5GainsSort.plist");
    EXPECT_EQ(filterResultFile(FilterMode::Buy, "/g", "2025-12-05"), "/g/2025-12-05_buy.plist");
    EXPECT_TRUE(filterResultFile(FilterMode::TopGainers, "/g", "2025-12-05").empty());
    EXPECT_EQ(filterIndexText(0, 37), "0 /37");
}

TEST(FilterRows, FirstClickSortsDescendingThenAscendingAndChangeColumnsSortByTheDaysPercent) {
    // Day's percent: a +1%, b +5%, c -2%; 10-day gains in the opposite order.
    std::vector<StockRecord> rows{stock("a", "10.1", "10", "1", 30),
                                  stock("b", "10.5", "10", "1", 10),
                                  stock("c", "9.8", "10", "1", 50)};
    bool ascending = false;
    EXPECT_EQ(clickFilterColumn(rows, "pricePercentChanged", ascending), SortIndicator::Descending);
    EXPECT_EQ(codes(rows), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_TRUE(ascending);
    EXPECT_EQ(clickFilterColumn(rows, "Price_Changed", ascending), SortIndicator::Ascending);
    EXPECT_EQ(codes(rows), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_FALSE(ascending);
    sortFilterRowsAscending(rows, k::STOCK_closePrice);
    EXPECT_EQ(codes(rows), (std::vector<std::string>{"c", "a", "b"}));
    std::vector<StockRecord> named =
        stockRecordsOf({Dictionary{{k::STOCK_SC_Name, "b"}}, Dictionary{{k::STOCK_SC_Name, "A"}},
                        Dictionary{{k::STOCK_SC_Name, "C"}}});
    sortFilterRowsAscending(named, k::STOCK_SC_Name);  // case-insensitive
    EXPECT_EQ(named[0].name, "A");
    EXPECT_EQ(named[2].name, "C");
}

TEST(SmartRows, RisingFastIsStrictlyAboveFourPercentOverTheLowerOfLowAndPreviousClose) {
    struct Case {
        float close, yes, low;
        bool kept;
    };
    const Case cases[] = {
        {104.0f, 100, 101, false},   // exactly 4.0
        {104.01f, 100, 101, true},   // 4.01
        {105.0f, 101, 100, true},    // the low is the lower: 5%
        {0.0005f, 100, 100, false},  // suspended
        {10.0f, 5, 0, false},        // m is 0
    };
    for (const Case& c : cases) EXPECT_EQ(isRisingFast({c.close, c.yes, c.low}), c.kept) << c.close;
}

TEST(SmartRows, TheWatchFolderGivesRisingStocksByJumpAndNoRowForBadFiles) {
    test::TempDataDir dir;
    const fs::path folder = dir.path();
    // Jumps of 6.06, 10 and 2; a file holding another stock's quote; unreadable and empty files.
    for (const auto& [file, code, close, low] : {std::tuple{"600001", "600001", "10.50", "9.90"},
                                                 {"600002", "600002", "11.00", "10.00"},
                                                 {"600003", "600003", "10.20", "10.00"},
                                                 {"600004", "600009", "11.00", "10.00"}})
        writeFileAtomically(folder / (std::string(file) + ".txt"),
                            quoteFile(code, close, "10.00", low));
    writeFileAtomically(folder / "600005.txt", std::string("\xff\xfe\x00\x01", 4));
    writeFileAtomically(folder / "600006.txt", "");
    EXPECT_EQ(codes(smartSortRows(folder)), (std::vector<std::string>{"600002", "600001"}));
    EXPECT_TRUE(fs::exists(folder / "600004.txt"));  // a bad file stays
}

TEST(SmartRows, CellsAreTheHoldingsLists) {
    const StockRecord up = stock("1", "10.25", "10", "9.8");
    EXPECT_EQ(smartCell(up, "pricePercentChanged").text, "+2.50%");
    EXPECT_EQ(smartCell(up, "speedValue"), (RowCell{"4.59", colours::red, CellFont::Label12}));
    EXPECT_EQ(smartCell(stock("1", "0", "10"), "speedValue").text, "0.00");
    EXPECT_EQ(smartCell(stock("1", "0", "10"), "pricePercentChanged").text, "停 牌");
}

TEST(ScoreRows, ScoreTextNameAndFilesBySegment) {
    const auto nameOf = [](std::string_view code) -> std::optional<std::string> {
        if (code == "600000") return "浦发银行";
        return std::nullopt;
    };
    const StockRecord row =
        StockRecord::fromDictionary({{k::STOCK_Code, "600000"}, {k::STOCK_SCORE, 87}});
    EXPECT_EQ(scoreCell(row, "STOCK_SCORE", nameOf),
              (RowCell{"得分:  87 ", colours::fallingGreen, CellFont::Table}));
    EXPECT_EQ(scoreCell(row, k::STOCK_Code, nameOf),
              (RowCell{"浦发银行 (600000)", colours::black, CellFont::Label14}));
    EXPECT_EQ(scoreCell(StockRecord{"000009"}, k::STOCK_Code, nameOf).text, "(null) (000009)");
    const char* files[] = {"todayStr_score_Score.plist", "todayStr_score_ModeB.plist",
                           "todayStr_score_DoublePao.plist",
                           "todayStr_score_DoublePao_Happend.plist"};
    for (int s = 0; s < 4; ++s) EXPECT_EQ(scoreListFile("/g", s), fs::path("/g") / files[s]);
    EXPECT_TRUE(scoreListFile("/g", 4).empty());
}

TEST(RowListFiles, MissingGoodAndBadFiles) {
    test::TempDataDir dir;
    const fs::path file = dir.path() / "list.plist";
    EXPECT_EQ(readRowListFile(file).state, RowListFile::State::Missing);
    EXPECT_TRUE(readRowListFile(file).note().empty());

    ASSERT_TRUE(writePropertyList(file, Array{Dictionary{{k::STOCK_Code, "600000"}}}));
    const RowListFile good = readRowListFile(file);
    EXPECT_EQ(good.state, RowListFile::State::Read);
    EXPECT_EQ(good.rows.size(), 1u);

    const std::pair<const char*, Value> bad[] = {
        {"not a list", Value()},
        {"a dictionary", Dictionary{{"a", 1}}},
        {"a row that is text", Array{Dictionary{}, "600000"}},
    };
    for (const auto& [what, value] : bad) {
        if (value.isNull())
            writeFileAtomically(file, "\x01garbage<plist");
        else
            ASSERT_TRUE(writePropertyList(file, value));
        const RowListFile read = readRowListFile(file);
        EXPECT_EQ(read.state, RowListFile::State::Bad) << what;
        EXPECT_TRUE(read.rows.empty()) << what;
        EXPECT_NE(read.note().find("list.plist"), std::string::npos) << what;
        EXPECT_TRUE(fs::exists(file)) << what;  // left for its producer to rewrite
    }
}
