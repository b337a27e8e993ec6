#include "orvane/chart/KHistoryLoader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ChartFixtures.h"
#include "TempDataDir.h"

using namespace orvane::chart;
using Dates = std::vector<std::string>;

namespace {

Dates dates(const std::vector<KSection>& days) {
    Dates out;
    for (const KSection& d : days) out.push_back(d.date);
    return out;
}

}  // namespace

TEST(KHistoryLoader, HeaderIsNeverReadAndEmptyLinesAddNothing) {
    EXPECT_TRUE(parseKSections("2024-01-02,10,11,9.5,10.5,1000,0").empty());  // still the header
    const auto days = parseKSections("h\r\n2024-01-02,10,11,9.5,10.5,1000,0\r\n\n");
    ASSERT_EQ(days.size(), 1u);
    const KSection& d = days[0];
    EXPECT_EQ(std::tuple(d.date, d.openPrice, d.highPrice, d.lowPrice, d.closePrice, d.volume),
              std::tuple("2024-01-02", 10.0f, 11.0f, 9.5f, 10.5f, 1000.0f));
}

TEST(KHistoryLoader, AcceptanceJudgesTheLowByItsWholeNumberPartAndSortsOldestFirst) {
    const auto days = parseKSections(
        "h\n"
        "2024-01-05,1.2,1.3,0.85,1.1,10,0\n"     // low below 1.0: dropped
        "2024-01-04,1.2,1.3,1.02,1.1,10,0\n"     // accepted
        "2024-01-03,0,1.3,1.02,1.1,10,0\n"       // no open
        "2024-01-02,1.2,1.3,1.02,0.0009,10,0\n"  // close below 0.001
        "2024-01-01,1.2,1.3,1.02,1.1\n"          // five fields only
        "2023-12-29,abc,1.3,1.02,1.1,10,0\n"     // open not a number
        "2024-01-06,1.2,1.3,1.02,1.1,10,0\n"
        "2023-12-28,1.2,1.3,1.02,1.1,10,0\n");
    EXPECT_EQ(dates(days), (Dates{"2023-12-28", "2024-01-04", "2024-01-06"}));
    for (std::size_t i = 0; i < days.size(); ++i)
        EXPECT_EQ(days[i].selectioID, static_cast<int>(i));
}

TEST(KHistoryLoader, UnreadableFilesGiveNoDaysAndAnOversizedFileKeepsItsNewestDays) {
    orvane::test::TempDataDir dir;
    EXPECT_TRUE(loadKSections(dir.path() / "missing.txt").empty());
    EXPECT_TRUE(loadKSections(dir.path()).empty());  // a folder
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131 + 7);
    std::ofstream(dir.path() / "bin.txt", std::ios::binary) << binary << "\n"
                                                            << "2024-01-02,1,1,1,1,1,0\n";
    EXPECT_EQ(loadKSections(dir.path() / "bin.txt").size(), 1u);  // undecodable bytes are no reason
    const std::string line = "2024-06-30,10,11,9.5,10.5,1000,0\n";
    std::string text = "h\n2024-07-01,20,21,19.5,20.5,1000,0\n";
    while (text.size() < kHistoryReadLimit + 4 * line.size()) text += line;
    text += "1999-01-01,30,31,29.5,30.5,1000,0\n";  // past the limit: never read
    const auto path = dir.path() / "big.txt";
    std::ofstream(path, std::ios::binary) << text;
    const auto days = loadKSections(path);
    ASSERT_FALSE(days.empty());
    EXPECT_EQ(days.back().date, "2024-07-01");
    EXPECT_EQ(days.size(), (kHistoryReadLimit - 2 - 34) / line.size() + 1);
}
