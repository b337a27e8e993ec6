#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/GainList.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;
using Codes = std::vector<std::string>;

namespace {

std::string gainLine(const std::string& code, const std::string& change) {
    return "1," + code + ",名称,10.00,10.10,10.30," + change + "\n";
}

Codes codesOf(const Array& list) {
    Codes out;
    for (const auto& v : list) out.push_back(v.dictionary().at(k::STOCK_Code).string());
    return out;
}

}  // namespace

TEST(GainList, ThresholdsFollowSinglePrecisionWideningAndTheLastLineIsNeverRead) {
    std::string text = "header\n" + gainLine("600001", "2.5") + gainLine("600002", "2.51") +
                       gainLine("600003", "-2.2") + gainLine("600004", "-2.21") +
                       gainLine("600007", "0") + "1,600005,x,1,1,1,9.9,extra\n" +
                       "1,600006,x,1,1,9.9\n" + gainLine("600008", "-9") + gainLine("600009", "9");
    text.pop_back();
    EXPECT_EQ(codesOf(parseGainList(text, -1)), Codes{"600002"});
    // -2.2 read as a float lies below the double -2.2, so it is taken.
    EXPECT_EQ(codesOf(parseGainList(text, 1)), (Codes{"600003", "600004", "600008"}));
    EXPECT_EQ(parseGainList(text, -1).at(0).dictionary(),
              (Dictionary{{k::STOCK_Code, "600002"},
                          {k::STOCK_SC_Name, "名称"},
                          {k::STOCK_YesClosePrice, "10.00"},
                          {k::STOCK_OpenPrice, "10.10"},
                          {k::STOCK_closePrice, "10.30"}}));
    test::TempDataDir dir;
    pasrseGains_new("header\n", dir.path() / "sh_up.plist", -1);  // empty lists are still written
    EXPECT_EQ(readPropertyList(dir.path() / "sh_up.plist"), Value(Array{}));
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
    EXPECT_EQ(codesOf({score[0], score[1]}), (Codes{"600005", "600100"}));  // ties keep file order
    EXPECT_EQ(codesOf(read("score_DoublePao.plist")), Codes{"600004"});
    EXPECT_EQ(read("score_ModeB.plist"), (Array{Dictionary{{k::STOCK_Code, "600002"},
                                                           {k::STOCK_Trend_ModeB, true},
                                                           {k::STOCK_SCORE, 120},
                                                           {k::STOCK_MODE_TYPE, 4}}}));
}

TEST(ScoreLists, DoubleCannonListKeepsEveryRecordBestFirst) {
    test::TempDataDir dir;
    paserSortResultForDoublePaoHappend("h\n600001,10\n600002,30\n600003,20,x\n600004,5\n",
                                       dir.path());
    EXPECT_EQ(
        codesOf(
            readPropertyList(scoreListPath(dir.path(), "score_DoublePao_Happend.plist"))->array()),
        (Codes{"600002", "600001", "600004"}));
}

TEST(ScoreLists, SmartModeFileOnlyGrowsAndChecksTheStoredFile) {
    test::TempDataDir dir;
    auto file = dir.path() / "smartModeFile.plist";
    paserSortResultForSmartMode("h\n600001,x\n600001,x\n", file);
    paserSortResultForSmartMode("h\n600001,x\n600002,x\n", file);
    EXPECT_EQ(readPropertyList(file)->array().size(), 3u);
    EXPECT_TRUE(isExsitOnSmartFile("600002", file));
    EXPECT_FALSE(isExsitOnSmartFile("600003", file));
}
