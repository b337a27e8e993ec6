// fetch, search, sector and update-reference run as a program against the
// data server.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "LocalHttpServer.h"
#include "RunProgram.h"
#include "ServedTree.h"
#include "ZipWriter.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextEncoding.h"

namespace fs = std::filesystem;

namespace {

class MarketCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        served.write("const/hisdata/retdata/600000.txt",
                     "curStockCode=600000\nOneTrade_date=2025-09-03\nOneTrade_closePrice=10.50\n"
                     "trend=2\nstockScore=120\nbefore_trend=3\nbeforeTrade_date=2025-08-27\n");
        served.write("const/updateconfigfile.txt", "constdata=2025-09-01");
    }
    /// Serves reference data naming 浦发银行 (600000) with the plate files given.
    void serveReference(std::vector<std::pair<std::string, std::string>> plates = {
                            {"constdata/plate/银行.txt", "600000\n"}}) const {
        plates.insert(plates.begin(), {"constdata/stockcode/code.txt",
                                       *orvane::utf8ToUtf16("600000\t浦发银行\tPFYH\n")});
        plates.push_back({"constdata/composit/399001.txt", ""});
        ASSERT_TRUE(orvane::test::writeZip(served.tree() / "const" / "constdata.zip", plates));
    }
    orvane::test::ProgramRun cli(const std::string& args, bool toServer = true,
                                 bool withStderr = false) const {
        return orvane::test::runProgram(
            std::string(ORVANE_CLI) + " " + args + (toServer ? served.serverOptions() : ""),
            withStderr);
    }

    orvane::test::ServedTree served;  // the data folder holds the tree
};

}  // namespace

TEST_F(MarketCommandsTest, FetchPrintsTheRecordWithItsNestedRecordIndented) {
    const auto r = cli("fetch 600000");
    EXPECT_EQ(r.status, 0);
    for (const char* line : {"STOCK_Code=600000\n", "STOCK_DICTINFO_Before5Days:\n",
                             "\n  STOCK_DATE=2025-08-27\n", "STOCK_Discription=下降趋势\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
    EXPECT_NE(cli("fetch 60000a").status, 0);
    EXPECT_NE(cli("fetch 600001").status, 0);  // 404: no record
}

// The lines as the record's dictionary printed them before records were typed.
TEST_F(MarketCommandsTest, FetchPrintsTheSameBytesForTodayAndAnEarlierDay) {
    served.write("const/hisdata/retdata/600000/2.txt",
                 "curStockCode=600000\nOneTrade_date=2025-09-02\nyesterdayClosePrice=10.20\n"
                 "OneTrade_openPrice=10.25\nOneTrade_closePrice=10.30\nOneTrade_highPrice=10.40\n"
                 "OneTrade_lowPrice=10.10\ntrend=1001\nstockScore=171\nMode_isModeA=0\n"
                 "Mode_isModeB=1\ngains5Days=4.125\ngains10Days=-0.75\n"
                 "OneTrade_volumeData=120000\nMode_modeBClosePrice=10.30\n"
                 "Mode_MsgCheckDate=2025-09-01\n");
    const std::string today =
        "KEY_Gain_10Days=0\nKEY_Gain_5Days=0\nSTOCK_Code=600000\nSTOCK_DATE=2025-09-03\n"
        "STOCK_DICTINFO_Before5Days:\n  KEY_Gain_10Days=0\n  KEY_Gain_5Days=0\n"
        "  STOCK_Code=600000\n  STOCK_DATE=2025-08-27\n  STOCK_Trend=3\n  STOCK_Trend_ModeB=0\n"
        "STOCK_Discription=下降趋势\nSTOCK_HighPrice=\nSTOCK_LowPrice=\nSTOCK_OpenPrice=\n"
        "STOCK_SCORE=120\nSTOCK_Trend=2\nSTOCK_Trend_ModeB=0\nSTOCK_YesClosePrice=\n"
        "STOCK_closePrice=10.50\n";
    const std::string twoDaysBack =
        "KEY_Gain_10Days=-0.75\nKEY_Gain_5Days=4.125\nSTOCK_Code=600000\n"
        "STOCK_DATE=2025-09-02\nSTOCK_Discription=技术形态和模型B相似; 突破关键点,得分:171 "
        ";5日涨幅为4.12%, 10日涨幅为-0.75%\nSTOCK_HighPrice=10.40\nSTOCK_LowPrice=10.10\n"
        "STOCK_OpenPrice=10.25\nSTOCK_SCORE=171\nSTOCK_Trend=1001\nSTOCK_Trend_ModeB=1\n"
        "STOCK_YesClosePrice=10.20\nSTOCK_closePrice=10.30\n";
    EXPECT_EQ(cli("fetch 600000").out, today);
    EXPECT_EQ(cli("fetch 600000 --days 3").out, today + "\n" + twoDaysBack);
}

TEST_F(MarketCommandsTest, RefusedInstallationFailsAndKeepsTheOldData) {
    fs::create_directories(served.folder() / "constdata" / "plate");
    ASSERT_TRUE(orvane::writeFileAtomically(served.folder() / "constdata" / "plate" / "旧.txt",
                                            "600000\n"));
    EXPECT_NE(cli("update-reference").status, 0);  // no archive on the server
    EXPECT_EQ(cli("sector 600000", false).out, "600000 属于板块:旧\n");
}

TEST_F(MarketCommandsTest, InstalledReferenceDataServesSearchAndSector) {
    serveReference();
    // A fresh data directory: the reference data is fetched first.
    EXPECT_EQ(cli("search PF").out, "600000\t浦发银行\tPFYH\n");
    for (const char* typed : {"pf", "sh600000", "600000.SH"})  // as people type
        EXPECT_EQ(cli(std::string("search ") + typed, false).out, "600000\t浦发银行\tPFYH\n");
    EXPECT_EQ(cli("sector 600000", false).out, "600000 属于板块:银行\n");
    EXPECT_EQ(cli("update-reference").status, 0);  // up to date
}

TEST_F(MarketCommandsTest, SectorsListsEachGroupWithItsMemberCount) {
    serveReference({{"constdata/plate/银行.txt", "600000\n600001\nabc\n"},
                    {"constdata/plate/地产.txt", "000002\n"}});
    // A fresh data directory: the reference data is fetched first.
    const auto r = cli("sectors");
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    EXPECT_EQ(r.out, "地产\t1\n银行\t2\n");
    EXPECT_EQ(cli("sectors", false).out, r.out);
}

TEST_F(MarketCommandsTest, SectorsWithoutAnyGroupFindNothing) {
    serveReference({{"constdata/plate/", ""}});
    const auto r = cli("sectors", true, true);
    EXPECT_EQ(WEXITSTATUS(r.status), 1) << r.out;
    EXPECT_NE(r.out.find("no sector group"), std::string::npos) << r.out;
}

// The servers from the environment; an option beats its variable.
TEST_F(MarketCommandsTest, ServerVariablesStandInForTheOptions) {
    serveReference();
    const std::string cliPath = ORVANE_CLI;
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(orvane::test::refusedPort()) + "/x";
    const auto fromVariable = orvane::test::runProgram("ORVANE_SERVER=" + served.url("/orvane") +
                                                       " " + cliPath + " fetch 600000");
    EXPECT_EQ(WEXITSTATUS(fromVariable.status), 0);
    EXPECT_NE(fromVariable.out.find("STOCK_Code=600000\n"), std::string::npos);
    const auto optionFirst = orvane::test::runProgram("ORVANE_SERVER=" + refused + " " + cliPath +
                                                      " sectors --server " + served.url("/orvane"));
    EXPECT_EQ(optionFirst.out, "银行\t1\n");
    const auto variableUsed = orvane::test::runProgram(
        "ORVANE_SERVER=" + refused + " " + cliPath + " fetch 600000", true);
    EXPECT_EQ(WEXITSTATUS(variableUsed.status), 3);
    EXPECT_NE(variableUsed.out.find(refused), std::string::npos) << variableUsed.out;
}

// Each failure names the thing and the next step, with grep's statuses:
// 1 nothing found, 2 bad usage, 3 failed.
TEST_F(MarketCommandsTest, FailuresSayWhyWithTheirExitStatus) {
    const std::string refused =
        " --server http://127.0.0.1:" + std::to_string(orvane::test::refusedPort()) + "/x";
    const std::string file = (served.folder() / "a-file").string();
    ASSERT_TRUE(orvane::writeFileAtomically(file, "x"));
    const struct {
        std::string args;
        bool toServer;
        int status;
        const char* says;
    } cases[] = {
        {"fetch 600000" + refused, false, 3, "cannot be reached"},
        {"fetch 600001", true, 1, "has no record of 600001"},
        {"fetch 600001 --days 3", true, 1, "has no record of 600001"},
        {"search PF" + refused, false, 3, "no reference data yet"},
        {"search P", true, 2, "too short"},
        {"analyze --history /missing --code 600000 --open 1 --close 1 --yes-close 1 --now "
         "'2025-09-03 15:00:00'",
         false, 3, "/missing: No such file"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args, c.toServer, true);
        EXPECT_EQ(WEXITSTATUS(r.status), c.status) << c.args << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << r.out;
    }
    serveReference();
    const auto none = cli("sector 999999");
    EXPECT_EQ(WEXITSTATUS(none.status), 1);
    EXPECT_EQ(none.out, "999999 属于板块:没有找到分类\n");
    EXPECT_EQ(WEXITSTATUS(cli("search ZZ", false).status), 1);
    const auto noGroup = cli("screen-sector 不存在", true, true);
    EXPECT_EQ(WEXITSTATUS(noGroup.status), 1) << noGroup.out;
    EXPECT_NE(noGroup.out.find("no sector group named 不存在"), std::string::npos) << noGroup.out;
    EXPECT_EQ(WEXITSTATUS(cli("screen-sector 银行" + refused, false).status), 3);
    const auto notAFolder =
        orvane::test::runProgram("ORVANE_DATA_DIR=" + file + " " + ORVANE_CLI + " search PF", true);
    EXPECT_EQ(WEXITSTATUS(notAFolder.status), 3);
    EXPECT_NE(notAFolder.out.find("point ORVANE_DATA_DIR at a folder"), std::string::npos);
}
