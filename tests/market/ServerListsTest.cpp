#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/GainList.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

std::string gainLine(const std::string& code, const std::string& change) {
    return "1," + code + ",名称,10.00,10.10,10.30," + change + "\n";
}

std::vector<std::string> codesOf(const Array& list) {
    std::vector<std::string> out;
    for (const auto& v : list) out.push_back(v.dictionary().at(k::STOCK_Code).string());
    return out;
}

}  // namespace

TEST(GainList, ThresholdsFollowSinglePrecisionWidening) {
    const std::string text = "header\n" + gainLine("600001", "2.5") + gainLine("600002", "2.51") +
                             gainLine("600003", "-2.2") + gainLine("600004", "-2.21") +
                             "1,600005,x,1,1,1,9.9,extra\n" + "1,600006,x,1,1,9.9\n";
    EXPECT_EQ(codesOf(parseGainList(text, -1)), (std::vector<std::string>{"600002"}));
    // -2.2 read as a float lies below the double -2.2, so it is taken.
    EXPECT_EQ(codesOf(parseGainList(text, 1)), (std::vector<std::string>{"600003", "600004"}));
    auto first = parseGainList(text, -1).at(0).dictionary();
    EXPECT_EQ(first.at(k::STOCK_YesClosePrice).string(), "10.00");
    EXPECT_EQ(first.at(k::STOCK_OpenPrice).string(), "10.10");
    EXPECT_EQ(first.at(k::STOCK_closePrice).string(), "10.30");
    EXPECT_EQ(first.size(), 5u);
}

TEST(GainList, TheLastLineIsNeverReadAndEmptyListsAreStillWritten) {
    std::string noBreak = "header\n" + gainLine("600001", "5.0") + gainLine("600002", "6.0");
    noBreak.pop_back();
    EXPECT_EQ(codesOf(parseGainList(noBreak, -1)), (std::vector<std::string>{"600001"}));
    test::TempDataDir dir;
    auto path = dir.path() / "sh_up.plist";
    pasrseGains_new("header\n1,600001,x,1,1,1,9.0", path, -1);
    auto stored = readPropertyList(path);
    ASSERT_TRUE(stored && stored->isArray());
    EXPECT_TRUE(stored->array().empty());
}

TEST(ScoreLists, ListsAreCutAt51AndFollowTheirThresholds) {
    std::string text = "code,score,modeB,type\n";
    for (int i = 0; i < 60; ++i) text += std::to_string(600100 + i) + ",190,0,0\n";
    text += "600001,119,1,4\n600002,120,1,4\n600003,129,0,4\n600004,130,0,4\n";
    text += "600005,300,256,0\n";  // flag 256 is 0 as an 8-bit value
    text += "600006,200,1,0,extra\n";
    text += "600007,500,1,4";  // last line: never read
    test::TempDataDir dir;
    ASSERT_TRUE(paserSortResult(text, dir.path()));
    auto read = [&](const char* name) {
        return readPropertyList(scoreListPath(dir.path(), name))->array();
    };
    auto score = read("score_Score.plist");
    EXPECT_EQ(score.size(), 51u);
    EXPECT_EQ(score[0].dictionary().at(k::STOCK_Code).string(), "600005");
    EXPECT_EQ(score[1].dictionary().at(k::STOCK_Code).string(), "600100");  // ties keep file order
    EXPECT_EQ(codesOf(read("score_ModeB.plist")), (std::vector<std::string>{"600002"}));
    EXPECT_EQ(codesOf(read("score_DoublePao.plist")), (std::vector<std::string>{"600004"}));
    auto rec = read("score_ModeB.plist")[0].dictionary();
    EXPECT_EQ(rec.at(k::STOCK_Trend_ModeB), Value(true));
    EXPECT_EQ(rec.at(k::STOCK_SCORE).toInteger(), 120);
    EXPECT_EQ(rec.at(k::STOCK_MODE_TYPE).toInteger(), 4);
}

TEST(ScoreLists, DoubleCannonListKeepsEveryRecordBestFirst) {
    test::TempDataDir dir;
    paserSortResultForDoublePaoHappend("h\n600001,10\n600002,30\n600003,20,x\n600004,5\n",
                                       dir.path());
    auto list =
        readPropertyList(scoreListPath(dir.path(), "score_DoublePao_Happend.plist"))->array();
    EXPECT_EQ(codesOf(list), (std::vector<std::string>{"600002", "600001", "600004"}));
}

TEST(ScoreLists, SmartModeFileOnlyGrowsAndChecksTheStoredFile) {
    test::TempDataDir dir;
    auto file = dir.path() / "smartModeFile.plist";
    paserSortResultForSmartMode("h\n600001,x\n600001,x\n", file);
    paserSortResultForSmartMode("h\n600001,x\n600002,x\n", file);
    auto stored = readPropertyList(file)->array();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].string(), "600002");
    EXPECT_TRUE(isExsitOnSmartFile("600002", file));
    EXPECT_FALSE(isExsitOnSmartFile("600003", file));
}
