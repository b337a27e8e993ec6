#include "orvane/market/CsvHistory.h"
#include "orvane/market/HistoryText.h"

#include <gtest/gtest.h>

#include <string>

#include "TempDataDir.h"

using namespace orvane;

namespace {
std::string history(int days, const std::string& line2 = "") {
    std::string t = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    for (int i = 1; i <= days; ++i) {
        if (i == 2 && !line2.empty()) {
            t += line2 + "\n";
            continue;
        }
        t += "2025-08-" + std::to_string(30 - i) + ",10,11,9,10,1000,10\n";
    }
    return t;
}
}  // namespace

TEST(HistoryText, ValidityCountsTheTrailingEmptyElement) {
    // Header + 18 day lines + the empty element after the final break = 20.
    EXPECT_TRUE(isValidRespondStr(history(18)));
    EXPECT_FALSE(isValidRespondStr(history(17)));
    EXPECT_FALSE(isValidRespondStr(history(30, "2025-08-28,10,11,9,10,1000")));
    EXPECT_FALSE(isValidRespondStr(history(30, ",,,,,")));
    EXPECT_TRUE(isValidRespondStr(history(30, ",,,,,,")));
    EXPECT_FALSE(isValidRespondStr(history(30, ",,,,")));
    EXPECT_FALSE(isValidRespondStr(""));
}

TEST(HistoryText, DateFiveTradingDaysBack) {
    auto d = getdateBefore5Day(history(30));
    ASSERT_TRUE(d);
    EXPECT_EQ(formatDate(*d), "2025-08-24");
    test::FixedNow now(2025, 9, 3, 15);
    std::string t = history(30);
    // Line 6 with too few fields: the current date.
    auto pos = t.find("2025-08-24");
    t.replace(pos, t.find('\n', pos) - pos, "2025-08-24,1");
    EXPECT_EQ(formatDate(*getdateBefore5Day(t)), "2025-09-03");
}

TEST(CsvCheck, NamesTheLineAndTheProblem) {
    EXPECT_EQ(checkDailyCsv(""), "the file is empty");
    EXPECT_EQ(checkDailyCsv("date,open,close,high,low\n"),
              "line 1: no \"volume\" column in the header");
    const std::string header = "date,open,close,high,low,volume,amount\n";
    EXPECT_EQ(checkDailyCsv(header), "no day lines");
    EXPECT_FALSE(checkDailyCsv(header + "2025-09-01,1,2,3,0.5,100,\n2025-09-02,1,2,3,0.5,1e3,\n"));
    EXPECT_EQ(checkDailyCsv(header + "2025-09-01,1,2,3,0.5,100,\n2025-09-01,1,2,3,0.5,100,\n"),
              "line 3: 2025-09-01 does not follow 2025-09-01");
    EXPECT_EQ(checkDailyCsv(header + "2025-09-02,1,2,3,0.5,100,\n2025-09-01,1,2,3,0.5,100,\n"),
              "line 3: 2025-09-01 does not follow 2025-09-02");
    EXPECT_EQ(checkDailyCsv(header + "2025-09-01,1,2x,3,0.5,100,\n"),
              "line 2: the close \"2x\" is not a number");
    EXPECT_EQ(checkDailyCsv(header + "2025-09-31,1,2,3,0.5,100,\n"),
              "line 2: \"2025-09-31\" is not a date");
    EXPECT_EQ(checkDailyCsv(header + "2025-09-01,1,2,3\n"), "line 2: the low \"\" is not a number");
}
