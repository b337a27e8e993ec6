// The commands that replace the data folder's day files, run as a user
// would against a published market: a file that cannot be written fails the
// command naming it and keeps the last good files whole, and two runs on one
// folder wait for each other instead of blaming the server.

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <thread>

#include "PublishedMarket.h"
#include "RunProgram.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataFolderLock.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/GainList.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

class DataFolderRuns : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        served = new test::ServedTree;
        market = test::publishSyntheticMarket(*served, 24, *parseDate("2025-12-05"), 120);
    }
    static void TearDownTestSuite() { delete served; }
    void SetUp() override {
        ASSERT_FALSE(market.empty());
        std::error_code ec;
        fs::remove_all(gains(), ec);
    }
    static fs::path gains() { return served->folder() / "Gains"; }
    static std::string command(const std::string& args) {
        return std::string(ORVANE_CLI) + " " + args + served->serverOptions();
    }
    static test::ProgramRun cli(const std::string& args) {
        return test::runProgram(command(args), true);
    }
    /// Every file of the Gains folder with its bytes.
    static std::map<std::string, std::string> gainsFiles() {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(gains()))
            if (entry.is_regular_file())
                files[entry.path().filename().string()] = readFile(entry.path()).value_or("?");
        return files;
    }
    /// No download, staged set or parsed intermediate stays behind, and every
    /// list is whole.
    static void expectWholeAndTidy() {
        for (const auto& [name, bytes] : gainsFiles()) {
            EXPECT_EQ(name.find("incoming"), std::string::npos) << name;
            EXPECT_FALSE(name.starts_with("todayStr_Sort") && name.ends_with(".plist")) << name;
            if (name.ends_with(".plist") || name.ends_with(".Plist"))
                EXPECT_TRUE(parsePropertyList(bytes)) << name << " is torn";
            if (name.starts_with("todayStr_Sort"))
                EXPECT_TRUE(isGainListText(downloadedText(bytes))) << name << " is torn";
        }
        for (const auto& entry : fs::directory_iterator(served->folder()))
            EXPECT_EQ(entry.path().filename().string().find("incoming"), std::string::npos)
                << entry.path();
    }
    static void expectNoBlameOfTheServer(const test::ProgramRun& run) {
        for (const char* blame :
             {"could not be read from", "not a gain list", "not a zip", "could not be downloaded"})
            EXPECT_EQ(run.out.find(blame), std::string::npos) << run.out;
    }

    static inline test::ServedTree* served = nullptr;
    static inline std::vector<server::StockSeries> market;
};

}  // namespace

TEST_F(DataFolderRuns, RankFailsNamingTheFileItCannotReplaceAndKeepsTheLastLists) {
    ASSERT_EQ(cli("rank --top 5").status, 0);
    const auto before = gainsFiles();
    // The Shenzhen list's parsed file cannot be replaced: the ranking must
    // not go on with the last run's list.
    fs::remove(gains() / "todayStr_SZ.plist");
    fs::create_directories(gains() / "todayStr_SZ.plist" / "x");
    const auto run = cli("rank --top 5");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("cannot replace " + (gains() / "todayStr_SZ.plist").string() + ": "),
              std::string::npos)
        << run.out;
    expectNoBlameOfTheServer(run);
    auto after = gainsFiles();
    EXPECT_EQ(after.erase("todayStr_SZ.plist"), 0u);
    auto kept = before;
    kept.erase("todayStr_SZ.plist");
    EXPECT_EQ(after, kept);
}

TEST_F(DataFolderRuns, MarketReportNamesTheDiskAndKeepsTheLastGoodListsWhole) {
    ASSERT_EQ(cli("market-report").status, 0);
    const auto before = gainsFiles();
    EXPECT_TRUE(before.count("todayStr_score_Score.plist") && before.count("todayStr.txt"));

    // One of the day's files cannot be replaced: none is.
    fs::remove(gains() / "todayStr_score_ModeB.plist");
    fs::create_directories(gains() / "todayStr_score_ModeB.plist" / "x");
    auto run = cli("market-report");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("could not be stored in " + served->folder().string()),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("the lists of the last good run were kept"), std::string::npos);
    expectNoBlameOfTheServer(run);
    auto kept = before;
    kept.erase("todayStr_score_ModeB.plist");
    EXPECT_EQ(gainsFiles(), kept);
    fs::remove_all(gains() / "todayStr_score_ModeB.plist");

    // Downloads that cannot be written (files limited to 1 KB, as on a full
    // disk): the disk is named, not the server.
    run = test::runProgram(
        "sh -c \"trap '' XFSZ; ulimit -f 2; exec " + command("market-report") + "\"", true);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("File too large"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("could not be stored in"), std::string::npos) << run.out;
    expectNoBlameOfTheServer(run);
    kept.erase("todayStr_score_ModeB.plist");
    auto now = gainsFiles();
    now.erase("todayStr_score_ModeB.plist");
    EXPECT_EQ(now, kept);
    expectWholeAndTidy();
}

TEST_F(DataFolderRuns, ASecondRunWaitsForTheFirstAndGivesUpAfterItsWait) {
    {
        const DataFolderLock held(served->folder(), std::chrono::milliseconds(0), nullptr);
        ASSERT_TRUE(held.held());
        const auto run = cli("market-report --wait 1");
        EXPECT_NE(run.status, 0);
        const std::string notice = DataFolderLock::waitingNotice(::getpid());
        EXPECT_NE(run.out.find("orvane: " + notice + "\n"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(notice + ": it still ran after 1 s"), std::string::npos) << run.out;
        expectNoBlameOfTheServer(run);
    }
    expectWholeAndTidy();
}

// Two market reports, a ranking beside a market report, two forced
// reference updates: every run succeeds, none blames the server, no list is
// torn and nothing a run leaves behind.
TEST_F(DataFolderRuns, TwoWritersOnOneFolderNeverCollide) {
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"market-report", "market-report"},
        {"rank --top 3", "market-report"},
        {"update-reference --force", "update-reference --force"}};
    int runs = 0;
    for (int round = 0; round < 20; ++round) {
        const auto& [first, second] = pairs[static_cast<std::size_t>(round) % pairs.size()];
        test::ProgramRun a, b;
        std::thread other([&, second = second] { b = cli(second); });
        a = cli(first);
        other.join();
        for (const test::ProgramRun* r : {&a, &b}) {
            EXPECT_EQ(r->status, 0) << "round " << round << ": " << r->out;
            expectNoBlameOfTheServer(*r);
        }
        expectWholeAndTidy();
        runs += 2;
        if (HasFailure()) break;
    }
    EXPECT_EQ(runs, 40);
}
