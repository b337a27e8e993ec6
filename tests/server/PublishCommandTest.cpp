// orvane-server publish run as a user would: every failure says why, and
// what would fail at the end (the stock list, --out) is refused before the
// work starts; --out may end in a separator; impossible day lines are named,
// refused and counted.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <fstream>

#include "RunProgram.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/market/ResultFile.h"

namespace fs = std::filesystem;
using orvane::test::runProgram;

namespace {

class PublishCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(csv);
        std::ofstream(list) << "symbol,name,industry\n600001,甲股份,银行\n000002,乙股份,地产\n";
        for (const char* code : {"600001", "000002"}) {
            std::ofstream file(csv / (std::string(code) + ".csv"));
            file << "date,open,close,high,low,volume\n";
            for (int day = 1; day <= 28; ++day)
                file << "2025-09-" << (day < 10 ? "0" : "") << day << ",10,10.1,10.2,9.9,100\n";
        }
    }

    struct Outcome {
        int code;
        std::string text;  // standard output and error
    };
    Outcome publish(const std::string& args) const {
        const auto r =
            runProgram(std::string(ORVANE_SERVER) + " publish --days-back 0 " + args, true);
        return {WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1, r.out};
    }
    std::string from(const fs::path& folder, const fs::path& stocks) const {
        return "--csv-dir " + folder.string() + " --stocks " + stocks.string();
    }

    void expectNoStagingFolder() const {
        for (const auto& entry : fs::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().find("staging"), std::string::npos);
    }

    orvane::test::TempDataDir dir;
    fs::path csv = dir.path() / "daily", list = dir.path() / "list.csv", tree = dir.path() / "tree";
};

}  // namespace

TEST_F(PublishCommand, EveryFailureSaysWhyAndTheInputsAreCheckedBeforeTheWork) {
    fs::create_directories(dir.path() / "empty");
    std::ofstream(dir.path() / "bad.csv") << "symbol,name\n600001,\xFF\xFF\n";
    std::ofstream(dir.path() / "file") << "x";
    const struct {
        std::string args;
        std::string says;
    } cases[] = {
        {from(dir.path() / "empty", list) + " --out " + tree.string(),
         "empty: no CODE.csv could be read"},
        {from(csv, dir.path() / "bad.csv") + " --out " + tree.string(),
         "bad.csv: the stock list is neither UTF-8 nor GB 18030 text"},
        {from(csv, list) + " --out " + (dir.path() / "file" / "tree").string(),
         "cannot create " + (dir.path() / "file" / ".tree.staging-").string()},
        {from(csv, list) + " --out " + (dir.path() / "file").string(), "file is a file"},
    };
    for (const auto& c : cases) {
        const Outcome run = publish(c.args);
        EXPECT_EQ(run.code, 1) << c.args << "\n" << run.text;
        EXPECT_NE(run.text.find("orvane-server publish: "), std::string::npos) << run.text;
        EXPECT_NE(run.text.find(c.says), std::string::npos) << c.args << "\n" << run.text;
        EXPECT_EQ(run.text.find("publishing ["), std::string::npos) << c.args << "\n" << run.text;
        EXPECT_FALSE(fs::exists(tree));
    }
}

TEST_F(PublishCommand, OutWithATrailingSeparatorIsPublishedAndImpossibleLinesCounted) {
    std::ofstream(csv / "600001.csv", std::ios::app) << "2025-09-29,10,0,10.2,9.9,100\n";
    const Outcome run = publish(from(csv, list) + " --out " + tree.string() + "/");
    ASSERT_EQ(run.code, 0) << run.text;
    EXPECT_TRUE(fs::exists(tree / "const/hisdata/stockdata/600001.txt")) << run.text;
    expectNoStagingFolder();
    EXPECT_NE(run.text.find("600001.csv: line 30: the close 0 is not above 0; refused"),
              std::string::npos)
        << run.text;
    EXPECT_NE(run.text.find("into " + tree.string() + " in "), std::string::npos) << run.text;
    EXPECT_NE(run.text.find(", 1 day lines refused"), std::string::npos) << run.text;
}

// Files may grow to 8 KB only (writes beyond fail, as on a full disk): the
// demo market's histories are larger, so no tree may be put in place, and
// the old one stays.
TEST_F(PublishCommand, AFileThatCannotBeWrittenFailsThePublishAndKeepsTheOldTree) {
    ASSERT_EQ(publish(from(csv, list) + " --out " + tree.string()).code, 0);
    const fs::path history = tree / "const/hisdata/stockdata/600001.txt";
    const auto before = orvane::readFile(history);
    ASSERT_TRUE(before);
    const auto r =
        runProgram("sh -c \"trap '' XFSZ; ulimit -f 16; exec " + std::string(ORVANE_SERVER) +
                       " publish --days-back 0 --synthetic 4 --out " + tree.string() + "\"",
                   true);
    EXPECT_EQ(WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1, 1) << r.out;
    EXPECT_NE(r.out.find("files beside " + tree.string() + "; " + tree.string() + " is as it was"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(": File too large;"), std::string::npos) << r.out;  // the file and why
    EXPECT_EQ(orvane::readFile(history), before);
    expectNoStagingFolder();
}

// 600001 gives 10 bonus shares for 10 on 2025-09-25: its open halves.
class PublishAdjusted : public PublishCommand {
  protected:
    void SetUp() override {
        PublishCommand::SetUp();
        std::ofstream file(csv / "600001.csv");
        file << "date,open,close,high,low,volume\n";
        for (int day = 1; day <= 28; ++day) {
            const char* bar = day < 25 ? ",20,20,20,20,100\n" : ",10,10,10,10,200\n";
            file << "2025-09-" << (day < 10 ? "0" : "") << day << bar;
        }
        std::ofstream(events) << "code,date,cash_per_10,bonus_per_10,transfer_per_10,rights_per_10,"
                                 "rights_price\n600001.SH,20250925,,10,,,\n";
    }
    std::string history(const char* folder) const {
        return orvane::readFile(tree / "const/hisdata" / folder / "600001.txt").value_or("");
    }
    fs::path events = dir.path() / "events.csv";
};

TEST_F(PublishAdjusted, EventsHalveTheEarlierPricesAndTheTradedHistoryStaysBeside) {
    const Outcome run = publish(from(csv, list) + " --adjust forward --events " + events.string() +
                                " --out " + tree.string());
    ASSERT_EQ(run.code, 0) << run.text;
    EXPECT_NE(run.text.find(", 1 ex-rights days adjusted in 1 stocks"), std::string::npos)
        << run.text;
    EXPECT_NE(history("stockdata").find("2025-09-24,10.00,10.00,10.00,10.00,200,10.00"),
              std::string::npos);
    EXPECT_NE(history("stockdata_raw").find("2025-09-24,20.00,20.00,20.00,20.00,100,20.00"),
              std::string::npos);
    EXPECT_NE(history("stockdata").find("2025-09-28,10.00"), std::string::npos);
    // The day's verdict no longer reads the bonus issue as a fall.
    const auto today = orvane::parseRetStockServerData(
        orvane::readFile(tree / "const/hisdata/retdata/600001.txt").value_or(""), nullptr);
    ASSERT_TRUE(today && today->gain5) << run.text;
    EXPECT_EQ(*today->gain5, 0.0f);
}

// The same bonus issue told by tushare's previous close gives the same
// adjusted history as the events file.
TEST_F(PublishAdjusted, APreviousCloseColumnAdjustsAsTheEventsDo) {
    const fs::path tushare = dir.path() / "daily.csv", fromEvents = dir.path() / "events-tree";
    {
        std::ofstream file(tushare);
        file << "ts_code,trade_date,open,high,low,close,pre_close,vol,amount\n";
        for (int day = 28; day >= 1; --day) {
            const double close = day < 25 ? 20 : 10, before = day == 25 ? 10 : close;
            file << "600001.SH,202509" << (day < 10 ? "0" : "") << day << "," << close << ","
                 << close << "," << close << "," << close << "," << before << ","
                 << (day < 25 ? 100 : 200) << ",0\n";
        }
    }
    ASSERT_EQ(publish("--data " + tushare.string() + " --stocks " + list.string() +
                      " --adjust forward --out " + tree.string())
                  .code,
              0);
    ASSERT_EQ(
        publish("--csv-dir " + csv.string() + " --stocks " + list.string() +
                " --adjust forward --events " + events.string() + " --out " + fromEvents.string())
            .code,
        0);
    const auto fromPreviousClose = history("stockdata");
    EXPECT_NE(fromPreviousClose.find("2025-09-24,10.00,10.00,10.00,10.00,200,10.00"),
              std::string::npos)
        << fromPreviousClose;
    EXPECT_EQ(fromPreviousClose,
              orvane::readFile(fromEvents / "const/hisdata/stockdata/600001.txt").value_or(""));
}

TEST_F(PublishAdjusted, WithoutAdjustmentTheGapIsNamedAndCounted) {
    Outcome run = publish(from(csv, list) + " --out " + tree.string());
    ASSERT_EQ(run.code, 0) << run.text;
    EXPECT_NE(run.text.find("600001 2025-09-25: \u221250% at the open, beyond the 10% limit"),
              std::string::npos)
        << run.text;
    EXPECT_NE(run.text.find("1 days open further below"), std::string::npos) << run.text;
    EXPECT_FALSE(fs::exists(tree / "const/hisdata/stockdata_raw"));
    // Adjusting needs a source of ex-rights days; events need the adjustment.
    run = publish(from(csv, list) + " --adjust forward --out " + tree.string());
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.text.find("--adjust forward needs the ex-rights days"), std::string::npos)
        << run.text;
    run = publish(from(csv, list) + " --events " + events.string() + " --out " + tree.string());
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.text.find("go with --adjust forward"), std::string::npos) << run.text;
}

// --data takes a folder in any layout known, with or without a stock list:
// day files are found below the folder, what is no share is left out with
// a note, and a folder in no layout is refused with the layouts known.
TEST_F(PublishCommand, DataInAnyLayoutIsPublishedAndAFolderInNoneRefused) {
    const fs::path lday = dir.path() / "tdx" / "vipdoc" / "sh" / "lday";
    fs::create_directories(lday);
    fs::create_directories(dir.path() / "tdx" / "vipdoc" / "bj" / "lday");
    std::string days;
    for (std::uint32_t day = 1; day <= 28; ++day) {
        const std::uint32_t record[8] = {20250900 + day, 1000, 1020, 990, 1010, 0, 10000, 0};
        days.append(reinterpret_cast<const char*>(record), sizeof record);
    }
    std::ofstream(lday / "sh600001.day", std::ios::binary) << days;
    std::ofstream(lday / "sh000001.day", std::ios::binary) << days;
    std::ofstream(dir.path() / "tdx" / "vipdoc" / "bj" / "lday" / "bj830799.day", std::ios::binary)
        << days;
    const Outcome run =
        publish("--data " + (dir.path() / "tdx").string() + " --out " + tree.string());
    ASSERT_EQ(run.code, 0) << run.text;
    for (const char* says :
         {"no --stocks list: the codes stand in for the names, and which shares are ST cannot "
          "be known",
          "tdx: day files (vipdoc/sh/lday/sh600000.day), 1 stocks",
          "1 Beijing stocks (codes 4, 8 and 92) left out",
          "1 day files of indexes, funds and bonds left out"})
        EXPECT_NE(run.text.find(says), std::string::npos) << says << "\n" << run.text;
    const auto history = orvane::readFile(tree / "const/hisdata/stockdata/600001.txt");
    ASSERT_TRUE(history);
    EXPECT_NE(history->find("2025-09-28,10.00,10.20,9.90,10.10,100,10.10"), std::string::npos)
        << *history;

    const Outcome none = publish("--data " + dir.path().string() + " --out " + tree.string());
    EXPECT_EQ(none.code, 1) << none.text;
    EXPECT_NE(none.text.find("no CSV file whose header names the columns of a layout known; the "
                             "layouts known are: our daily CSV (CODE.csv); day files"),
              std::string::npos)
        << none.text;
}
