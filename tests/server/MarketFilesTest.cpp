#include "orvane/publisher/MarketFiles.h"

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/ReferenceArchive.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/GainList.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"
#include "orvane/publisher/PinyinInitials.h"
#include "orvane/publisher/ReferenceData.h"

using namespace orvane;
using namespace orvane::server;
namespace k = orvane::keys;

static StockOfTheDay stock(const std::string& code, double yesClose, double close, int score = 100,
                           PatternType pattern = kPatternNone) {
    const DailyBar today{"2025-09-03", yesClose, close * 1.01, yesClose * 0.99, close, 123456};
    return {{code, "浦发银行", "银行", ""}, today, yesClose, score, false, pattern};
}

// Name and close come back through the quote service in the end-to-end test.
TEST(MarketFiles, QuoteLineHasTheQuoteServiceShape) {
    const std::string line = quoteLine(stock("600000", 10.0, 10.5));
    EXPECT_EQ(splitOn(line, ',').size(), 33u);
    auto record = parseSinaData(line, "600000");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->yesClosePrice, "10.00");
    EXPECT_EQ(record->date, "2025-09-03 15:00:00");
    // The day's 123456 lots are served as the service counts: shares, yuan.
    EXPECT_EQ(record->volume, 12345600.0);
    EXPECT_EQ(record->amount, 129628800.0);
    ASSERT_TRUE(record->book);
    EXPECT_EQ(record->book->bids[0].price, 10.49);
    EXPECT_EQ(quoteLine(stock("000001", 10, 10)).rfind("var hq_str_sz000001=\"", 0), 0u);
}

TEST(MarketFiles, GainListsSplitByExchangeAndDirectionScoreListsParseBack) {
    const std::vector<StockOfTheDay> day = {stock("600000", 10, 10.3), stock("600001", 10, 10.6),
                                            stock("000001", 10, 10.9), stock("600002", 10, 9.7),
                                            stock("600003", 10, 9.0)};
    const Array rising = parseGainList(gainListText(day, true, true), -1);
    ASSERT_EQ(rising.size(), 2u);  // both above 2.5%, largest first
    EXPECT_EQ(rising[0].dictionary().at(k::STOCK_Code).string(), "600001");
    const Array falling = parseGainList(gainListText(day, true, false), 1);
    ASSERT_EQ(falling.size(), 2u);
    EXPECT_EQ(falling[0].dictionary().at(k::STOCK_Code).string(), "600003");
    EXPECT_TRUE(parseGainList(gainListText(day, false, false), 1).empty());

    const std::vector<StockOfTheDay> scored = {
        stock("600000", 10, 10, 150), stock("600001", 10, 10, 190),
        stock("000001", 10, 10, 130, kPatternDoubleCannon),
        stock("000002", 10, 10.8, 100, kPatternSingleCannon)};
    const auto records = parseScoreRecords(scoreListText(scored));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].code, "600001");
    EXPECT_EQ(records[2].modeType, 4);
    EXPECT_EQ(doubleCannonListText(scored), "code,score\n000001,130\n");
    EXPECT_EQ(singleCannonListText(scored), "code,change\n000002,8.00\n");
}

TEST(PinyinInitials, StockNamesIncludingTheReadingsIcuGetsWrong) {
    const char* namesAndInitials[] = {"浦发银行", "PFYH", "长江电力", "CJDL", "长安汽车", "CAQC",
                                      "重庆啤酒", "CQPJ", "万科A",    "WKA",  "*ST海润",  "STHR",
                                      "",         "",     "\xff\xfe", ""};
    for (std::size_t i = 0; i < std::size(namesAndInitials); i += 2)
        EXPECT_EQ(pinyinInitials(namesAndInitials[i]), namesAndInitials[i + 1])
            << namesAndInitials[i];
}

TEST(ReferenceData, ArchiveInstallsAndItsCodeTableReadsBack) {
    test::TempDataDir dir;
    const std::vector<ListedStock> stocks = {{"600000", "浦发银行", "银行", ""},
                                             {"000002", "万科A", "银行", "WKA"},
                                             {"600519", "贵州茅台", "白/酒", ""}};
    std::string error;
    const auto zip = dir.path() / "constdata.zip";
    ASSERT_TRUE(writeReferenceArchive(zip, stocks, {{"399001", "深证成指", {"000002"}}}, error))
        << error;
    ASSERT_TRUE(installReferenceArchive(zip, dir.path()).installed);
    const std::string table = readFile(dir.path() / "constdata/stockcode/code.txt").value_or("");
    EXPECT_EQ(table.substr(0, 2), "\xFF\xFE");  // UTF-16 with a byte-order mark
    EXPECT_EQ(utf16ToUtf8(table),
              "600000\t浦发银行\tPFYH\n000002\t万科A\tWKA\n600519\t贵州茅台\tGZMT\n");
    EXPECT_EQ(*readFile(dir.path() / "constdata/plate/银行.txt"), "600000\n000002\n");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "constdata/plate/白_酒.txt"));
    EXPECT_EQ(fileNameOf(".."), "_..");  // never a folder's name
    EXPECT_EQ(*readFile(dir.path() / "constdata/composit/399001深证成指.txt"), "000002\n");
}
