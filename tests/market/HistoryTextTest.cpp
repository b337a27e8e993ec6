#include "orvane/market/CsvHistory.h"
#include "orvane/market/HistoryText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>

#include "HistoryBuilder.h"
#include "TempDataDir.h"

using namespace orvane;
using test::HistoryBuilder;

namespace {
/// Thirty days ending 2025-08-29, the second line replaced by `line`.
std::string withSecondLine(const std::string& line) {
    return HistoryBuilder("2025-08-29").day(10).raw(line).flat(28, 10).text();
}
}  // namespace

TEST(HistoryText, ValidityCountsTheTrailingEmptyElement) {
    // Header + 18 day lines + the empty element after the final break = 20.
    EXPECT_TRUE(isValidRespondStr(HistoryBuilder().flat(18, 10).text()));
    EXPECT_FALSE(isValidRespondStr(HistoryBuilder().flat(17, 10).text()));
    EXPECT_FALSE(isValidRespondStr(""));
    const std::pair<const char*, bool> lines[] = {
        {"2025-08-28,10,11,9,10,1000", false}, {",,,,,", false}, {",,,,,,", true}, {",,,,", false}};
    for (const auto& [line, valid] : lines)
        EXPECT_EQ(isValidRespondStr(withSecondLine(line)), valid) << line;
}

TEST(HistoryText, DateFiveTradingDaysBack) {
    EXPECT_EQ(formatDate(*getdateBefore5Day(HistoryBuilder("2025-08-29").flat(30, 10).text())),
              "2025-08-24");
    // Line 6 with too few fields: the current date.
    test::FixedNow now(2025, 9, 3, 15);
    const std::string broken =
        HistoryBuilder("2025-08-29").flat(5, 10).raw("2025-08-24,1").flat(24, 10).text();
    EXPECT_EQ(formatDate(*getdateBefore5Day(broken)), "2025-09-03");
}

TEST(HistoryText, TheHistoryBeforeADayLeavesOutOnlyThatNewestDay) {
    const std::string text = "Date,Open\n2025-08-29,1,2,3,4,5,6\n2025-08-28,1,2,3,4,5,6\n";
    EXPECT_EQ(historyBeforeDay(text, "2025-08-29"), "Date,Open\n2025-08-28,1,2,3,4,5,6\n");
    // A history still lagging the day, or no day given: the text as it is.
    for (const char* day : {"2025-09-01", "2025-08-28", "2025-08-2", ""})
        EXPECT_EQ(historyBeforeDay(text, day), text) << day;
    EXPECT_EQ(historyBeforeDay("Date\n2025-08-29,1", "2025-08-29"), "Date\n");
}

TEST(CsvCheck, NamesTheLineAndTheProblem) {
    EXPECT_EQ(checkDailyCsv(""), "the file is empty");
    EXPECT_EQ(checkDailyCsv("date,open,close,high,low\n"),
              "line 1: no \"volume\" column in the header");
    const std::string header = "date,open,close,high,low,volume,amount\n";
    const std::pair<const char*, const char*> cases[] = {
        {"", "no day lines"},
        {"2025-09-01,1,2,3,0.5,100,\n2025-09-02,1,2,3,0.5,1e3,\n", nullptr},
        {"2025-09-01,1,2,3,0.5,100,\n2025-09-01,1,2,3,0.5,100,\n",
         "line 3: 2025-09-01 does not follow 2025-09-01"},
        {"2025-09-02,1,2,3,0.5,100,\n2025-09-01,1,2,3,0.5,100,\n",
         "line 3: 2025-09-01 does not follow 2025-09-02"},
        {"2025-09-01,1,2x,3,0.5,100,\n", "line 2: the close \"2x\" is not a number"},
        {"2025-09-01,1,2,3,0.5,1e999,\n", "line 2: the volume \"1e999\" is not a number"},
        {"2025-09-31,1,2,3,0.5,100,\n", "line 2: \"2025-09-31\" is not a date"},
        {"2025-09-01,1,2,3\n", "line 2: the low \"\" is not a number"},
    };
    for (const auto& [days, problem] : cases)
        EXPECT_EQ(checkDailyCsv(header + days),
                  problem ? std::optional<std::string>(problem) : std::nullopt)
            << days;
}

// A field's number is the double nearest its decimal text, whichever way it
// is read (short decimals take a quicker way, one that numbers of 16 and 17
// digits such as those below would lead astray); anything else is none.
TEST(CsvNumber, ReadsTheNearestDoubleOrNothing) {
    for (const char* text :
         {"0.1", "2.675", "377076.47", "-0.5", "+3", "5.", ".5", "-0", "0.000000000000001",
          "999999999999999", "123456789012345.6", "9007199254740993", "988793043414.5075",
          "496873016286653.58", "00000000000000012.5", "1e3", "1.5E-2"}) {
        double nearest = 0;
        const std::string_view t(text[0] == '+' ? text + 1 : text);
        std::from_chars(t.data(), t.data() + t.size(), nearest);
        const auto read = csvNumber(text);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(*read, nearest) << text;
        EXPECT_EQ(std::signbit(*read), std::signbit(nearest)) << text;
    }
    for (const char* text : {"", "-", ".", "1.2.3", "1,5", " 1", "12a", "1e", "1e999", "--1"})
        EXPECT_FALSE(csvNumber(text)) << text;
}
