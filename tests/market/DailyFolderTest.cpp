// A user's daily CSV folder as the publisher and the back-test read it:
// impossible days are refused one line at a time, named with file and line,
// and the rest of the file is kept; huge fields and lines never reach a
// message whole; a stock list in no encoding known is refused as a whole,
// and the lists of other tools are read in theirs.

#include "orvane/market/DailyFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "TempDataDir.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/DayPlausibility.h"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

struct FolderRead {
    std::vector<StockSeries> stocks;
    std::vector<std::string> problems;
};

FolderRead readFolderWith(const fs::path& dir, const std::string& csv) {
    fs::create_directories(dir / "daily");
    std::ofstream(dir / "daily" / "600000.csv") << "date,open,close,high,low,volume\n" << csv;
    FolderRead out;
    out.stocks = readDailyFolder(dir / "daily", {},
                                 [&](const std::string& p) { out.problems.push_back(p); });
    return out;
}

bool mentions(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(DayPlausibility, RefusesWhatNoTradeCanBe) {
    const struct {
        DailyBar day;
        const char* why;  // a part of the reason, or nothing for a sound day
    } cases[] = {
        {{"2025-09-01", 10, 11, 9, 10.5, 100}, nullptr},
        {{"2025-09-01", 10, 10, 10, 10, 0}, nullptr},  // a day without a trade
        {{"2025-09-01", 0, 11, 9, 10, 100}, "the open 0 is not above 0"},
        {{"2025-09-01", 10, 11, 9, -1, 100}, "the close -1 is not above 0"},
        {{"2025-09-01", 10, 8, 9, 8.5, 100}, "the high 8 is below the open 10"},
        {{"2025-09-01", 8, 9, 9.5, 8.5, 100}, "the high 9 is below the low 9.5"},
        {{"2025-09-01", 8, 9, 7, 9.5, 100}, "the high 9 is below the close 9.5"},
        {{"2025-09-01", 10, 11, 9, 10, -5}, "the volume -5 is negative"},
        {{"2025-12-09", 10, 11, 9, 10, 100}, "2025-12-09 is after today (2025-12-08)"},
    };
    for (const auto& c : cases) {
        const auto why = impossibilityOf(c.day, "2025-12-08");
        if (!c.why)
            EXPECT_FALSE(why) << *why;
        else
            EXPECT_NE(why.value_or("").find(c.why), std::string::npos) << why.value_or("none");
    }
    const DailyBar day{"2025-09-02", 10, 10, 10, 10, 1};
    EXPECT_FALSE(impossibleMoveFrom(1.0, day));    // exactly ten times
    EXPECT_FALSE(impossibleMoveFrom(100.0, day));  // exactly a tenth
    EXPECT_TRUE(impossibleMoveFrom(0.99, day));
    EXPECT_TRUE(impossibleMoveFrom(100.1, day));
}

TEST(DailyFolder, AnImpossibleDayIsRefusedByLineAndTheRestOfTheFileKept) {
    test::TempDataDir dir;
    test::FixedNow today(2025, 12, 8, 16);
    const FolderRead read = readFolderWith(dir.path(),
                                           "2025-09-01,10,10,10.5,9.5,100\n"
                                           "2025-09-02,10,1e30,1e30,9.5,100\n"  // line 3
                                           "2025-09-03,10,10.2,10.5,9.5,-1\n"   // line 4
                                           "2025-09-04,10,10.2,10.5,9.5,100\n"
                                           "2025-09-05,0,10.2,10.5,9.5,100\n"  // line 6
                                           "2025-09-08,10,10.2,9,9.5,100\n"    // line 7
                                           "2025-09-09,10,10.3,10.5,9.5,100\n"
                                           "2099-01-01,10,10.3,10.5,9.5,100\n");  // line 9
    ASSERT_EQ(read.stocks.size(), 1u);
    const StockSeries& s = read.stocks[0];
    ASSERT_EQ(s.bars.size(), 3u);
    EXPECT_EQ(s.bars[0].date, "2025-09-01");
    EXPECT_EQ(s.bars[1].date, "2025-09-04");  // measured from 09-01, the day kept before
    EXPECT_EQ(s.bars[2].date, "2025-09-09");
    EXPECT_EQ(s.refusedLines, 5u);
    ASSERT_EQ(read.problems.size(), 5u);
    for (const char* line :
         {"600000.csv: line 3: ", "600000.csv: line 4: ", "600000.csv: line 6: ",
          "600000.csv: line 7: ", "600000.csv: line 9: 2099-01-01 is after today"})
        EXPECT_TRUE(mentions(read.problems, line)) << line;

    // A structural fault still skips the whole file.
    test::TempDataDir other;
    const FolderRead unsound = readFolderWith(other.path(),
                                              "2025-09-02,10,10,10.5,9.5,100\n"
                                              "2025-09-01,10,10,10.5,9.5,100\n");
    EXPECT_TRUE(unsound.stocks.empty());
    EXPECT_TRUE(mentions(unsound.problems, "line 3: 2025-09-01 does not follow 2025-09-02"));
}

TEST(DailyFolder, AHugeFieldIsQuotedShortAndAHugeLineRefusedAsALine) {
    test::TempDataDir dir;
    const std::string huge(3 << 20, '7');
    const FolderRead badField =
        readFolderWith(dir.path(), "2025-09-01,10,1x" + std::string(100000, 'x') + ",11,9,100\n");
    ASSERT_EQ(badField.problems.size(), 1u);
    EXPECT_LT(badField.problems[0].size(), 300u) << badField.problems[0].substr(0, 300);
    EXPECT_NE(badField.problems[0].find("(100002 bytes) is not a number"), std::string::npos);

    test::TempDataDir other;
    const FolderRead longLine = readFolderWith(other.path(),
                                               "2025-09-01,10,10,10.5,9.5,100\n"
                                               "2025-09-02,10," +
                                                   huge +
                                                   ",10.5,9.5,100\n"
                                                   "2025-09-03,10,10,10.5,9.5,100\n");
    ASSERT_EQ(longLine.stocks.size(), 1u);
    EXPECT_EQ(longLine.stocks[0].bars.size(), 2u);
    ASSERT_EQ(longLine.problems.size(), 1u);
    EXPECT_NE(longLine.problems[0].find("line 3: longer than 1 MB; refused"), std::string::npos)
        << longLine.problems[0].substr(0, 300);
    EXPECT_LT(longLine.problems[0].size(), 300u);
}

TEST(StockList, AListNeitherUtf8NorGb18030IsRefusedWholeAndAHugeCodeQuotedShort) {
    test::TempDataDir dir;
    const fs::path bad = dir.path() / "bad.csv", utf8 = dir.path() / "list.csv";
    std::ofstream(bad) << "symbol,name,industry\n600000,\xFF\xFF\x80,bank\n";
    EXPECT_NE(stockListProblem(bad).value_or("").find(
                  "bad.csv: the stock list is neither UTF-8 nor GB 18030"),
              std::string::npos);
    std::vector<std::string> problems;
    auto note = [&](const std::string& p) { problems.push_back(p); };
    EXPECT_TRUE(readStockList(bad, note).empty());
    EXPECT_TRUE(mentions(problems, "neither UTF-8 nor GB 18030"));

    std::ofstream(utf8) << "symbol,name\n600000,浦发银行\n" << std::string(5000, '9') << ",x\n";
    EXPECT_FALSE(stockListProblem(utf8));
    problems.clear();
    EXPECT_EQ(readStockList(utf8, note).size(), 1u);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_LT(problems[0].size(), 300u) << problems[0];
    EXPECT_NE(problems[0].find("(5000 bytes) is not a stock code"), std::string::npos);
}

// The code-name lists other tools write, UTF-8 or GB 18030: codes with their
// exchange come as their six digits, and an exchange's indexes (sh.000001
// would take the Shenzhen share 000001's place) and Beijing's stocks are
// left out.
TEST(StockList, OtherToolsListsAreReadInTheirOwnColumnsAndEncodings) {
    test::TempDataDir dir;
    const struct {
        const char* name;
        std::string bytes;
    } lists[] = {
        {"tushare.csv",
         "ts_code,symbol,name,area,industry\n000001.SZ,000001,平安银行,深圳,银行\n"
         "600000.SH,600000,浦发银行,上海,银行\n830799.BJ,830799,艾融软件,上海,软件\n"},
        {"akshare.csv", *utf8ToGb18030("code,name\n000001,平安银行\n600000,浦发银行\n")},
        {"baostock.csv",
         "\xEF\xBB\xBF"
         "code,tradeStatus,code_name\nsh.000001,1,上证综合指数\n"
         "sh.600000,1,浦发银行\nsz.000001,1,平安银行\nsz.399001,1,深证成指\n"
         "bj.830799,1,艾融软件\n"},
        {"akshare-spot.csv",
         "序号,代码,名称,最新价\n1,000001,平安银行,11.2\n2,600000,浦发银行,9\n"},
    };
    for (const auto& list : lists) {
        const fs::path file = dir.path() / list.name;
        std::ofstream(file, std::ios::binary) << list.bytes;
        EXPECT_FALSE(stockListProblem(file)) << list.name;
        std::vector<std::string> problems;
        std::map<std::string, std::string> names;
        for (const ListedStock& s :
             readStockList(file, [&](const std::string& p) { problems.push_back(p); }))
            names[s.code] = s.name;
        EXPECT_EQ(names, (std::map<std::string, std::string>{{"000001", "平安银行"},
                                                             {"600000", "浦发银行"}}))
            << list.name;
        EXPECT_TRUE(problems.empty()) << list.name << ": " << problems.front();
    }
}
