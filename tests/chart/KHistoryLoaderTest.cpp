#include "orvane/chart/KHistoryLoader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ChartFixtures.h"
#include "TempDataDir.h"

using namespace orvane::chart;

namespace {

std::vector<std::string> dates(const std::vector<KSection>& days) {
    std::vector<std::string> out;
    for (const KSection& d : days) out.push_back(d.date);
    return out;
}

}  // namespace

TEST(KHistoryLoader, HeaderIsNeverReadAndEmptyLinesAddNothing) {
    EXPECT_TRUE(parseKSections("").empty());
    // A header that looks like a day is still the header.
    EXPECT_TRUE(parseKSections("2024-01-02,10,11,9.5,10.5,1000,0").empty());
    const auto days =
        parseKSections("Date,Open,High,Low,Close,Volume\n2024-01-02,10,11,9.5,10.5,1000,0\n\n");
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].date, "2024-01-02");
    EXPECT_FLOAT_EQ(days[0].openPrice, 10);
    EXPECT_FLOAT_EQ(days[0].highPrice, 11);
    EXPECT_FLOAT_EQ(days[0].lowProice, 9.5);
    EXPECT_FLOAT_EQ(days[0].closePrice, 10.5);
    EXPECT_FLOAT_EQ(days[0].volume, 1000);
    // CR LF line ends only add empty lines.
    EXPECT_EQ(parseKSections("h\r\n2024-01-02,10,11,9.5,10.5,1000,0\r\n").size(), 1u);
}

TEST(KHistoryLoader, AcceptanceJudgesTheLowByItsWholeNumberPart) {
    const auto days = parseKSections(
        "h\n"
        "2024-01-05,1.2,1.3,0.85,1.1,10,0\n"     // low below 1.0: dropped
        "2024-01-04,1.2,1.3,1.02,1.1,10,0\n"     // accepted
        "2024-01-03,0,1.3,1.02,1.1,10,0\n"       // no open
        "2024-01-02,1.2,1.3,1.02,0.0009,10,0\n"  // close below 0.001
        "2024-01-01,1.2,1.3,1.02,1.1\n"          // five fields only
        "2023-12-29,abc,1.3,1.02,1.1,10,0\n");   // open not a number
    EXPECT_EQ(dates(days), std::vector<std::string>{"2024-01-04"});
}

TEST(KHistoryLoader, DaysComeOutOldestFirstWhateverTheFileOrder) {
    const auto days = parseKSections(
        "h\n2024-01-03,10,11,10,10,1,0\n2024-01-05,10,11,10,10,1,0\n2024-01-01,10,11,10,10,1,0\n"
        "2024-01-04,10,11,10,10,1,0\n");
    EXPECT_EQ(dates(days),
              (std::vector<std::string>{"2024-01-01", "2024-01-03", "2024-01-04", "2024-01-05"}));
    for (std::size_t i = 0; i < days.size(); ++i)
        EXPECT_EQ(days[i].selectioID, static_cast<int>(i));
}

TEST(KHistoryLoader, UnreadableFilesGiveNoDaysOrTheDaysTheyHold) {
    orvane::test::TempDataDir dir;
    EXPECT_TRUE(loadKSections(dir.path() / "missing.txt").empty());
    EXPECT_TRUE(loadKSections(dir.path()).empty());  // a folder

    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(dir.path() / name, std::ios::binary) << bytes;
        return dir.path() / name;
    };
    EXPECT_TRUE(loadKSections(write("empty.txt", "")).empty());

    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131 + 7);
    binary += "\n2024-01-02,10,11,9.5,10.5,1000,0\n";
    EXPECT_EQ(loadKSections(write("binary.txt", binary)).size(), 1u);
}

TEST(KHistoryLoader, AnOversizedFileKeepsItsNewestDays) {
    orvane::test::TempDataDir dir;
    const std::string line = "2024-06-30,10,11,9.5,10.5,1000,0\n";
    std::string text = "h\n2024-07-01,20,21,19.5,20.5,1000,0\n";
    while (text.size() < kHistoryReadLimit + 4 * line.size()) text += line;
    text += "1999-01-01,30,31,29.5,30.5,1000,0\n";  // past the limit: never read
    const auto path = dir.path() / "big.txt";
    std::ofstream(path, std::ios::binary) << text;

    const auto days = loadKSections(path);
    ASSERT_FALSE(days.empty());
    EXPECT_EQ(days.back().date, "2024-07-01");
    EXPECT_EQ(days.front().date, "2024-06-30");
    EXPECT_EQ(days.size(), (kHistoryReadLimit - 2 - 34) / line.size() + 1);
}
