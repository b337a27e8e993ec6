// The orvane command line, run as a program.

#include <gtest/gtest.h>

#include <fstream>

#include "HistoryBuilder.h"
#include "RunProgram.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"

namespace {

using orvane::test::HistoryBuilder;

orvane::test::ProgramRun runCli(const std::string& args) {
    return orvane::test::runProgram(std::string(ORVANE_CLI) + " " + args);
}

constexpr const char* kNow = " --now '2025-09-03 15:00:00'";
constexpr const char* kHeader = "Date,Open,High,Low,Close,Volume,Adj Close\n";

class Cli : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(dir.path() / name, std::ios::binary) << text;
        return (dir.path() / name).string();
    }
    orvane::test::ProgramRun analyzeDir(const std::string& options = "") const {
        return runCli("analyze-dir " + dir.path().string() + kNow + options);
    }
    orvane::test::TempDataDir dir;
};

}  // namespace

TEST_F(Cli, Csv2HistMapsColumnsByNameNewestFirstAndStopsAtUntil) {
    const std::string csv = write("a.csv",
                                  "date,open,close,high,low,volume,amount\n"
                                  "2025-09-01,10.004,10.5,10.6,9.9,1234.5,\n"
                                  "2025-09-02,10.5,10.995,11,10.4,99.49,\n"
                                  "2025-09-03,1,2\n");
    EXPECT_EQ(runCli("csv2hist " + csv + " " + write("a.txt", "")).status, 0);
    EXPECT_EQ(*orvane::readFile(dir.path() / "a.txt"),
              kHeader + std::string("2025-09-02,10.50,11.00,10.40,10.99,99,10.99\n"
                                    "2025-09-01,10.00,10.60,9.90,10.50,1234,10.50\n"));

    std::filesystem::create_directory(dir.path() / "in");
    write("in/600000.csv",
          "date,open,close,high,low,volume\n2025-09-01,1,1,1,1,100\n2025-09-02,2,2,2,2,200\n");
    const std::string dirs = (dir.path() / "in").string() + " " + (dir.path() / "out").string();
    EXPECT_EQ(runCli("csv2hist-dir " + dirs + " --until 2025-09-01").status, 0);
    EXPECT_EQ(*orvane::readFile(dir.path() / "out" / "600000.txt"),
              kHeader + std::string("2025-09-01,1.00,1.00,1.00,1.00,100,1.00\n"));
    EXPECT_NE(runCli("csv2hist-dir " + dirs + " --until 2025-13-01").status, 0);
    write("in/bad.csv", "when,price\n1,2\n");
    EXPECT_NE(runCli("csv2hist-dir " + dirs).status, 0);
}

TEST_F(Cli, AnalyzePrintsEveryKeyInOrderAndUndefinedNumbers) {
    const std::string flat = " --history " + write("h.txt", HistoryBuilder().flat(60, 1.0).text());
    // Flat history, no trend rule holds: the final code is W300's (sideways),
    // so the model-B check does not run. Score: 59-day regions (medium +10,
    // wide +12, narrow +28), start day 1 (3 x 5), close 9% above the region
    // high (3 x 5), flat slope (-10).
    EXPECT_EQ(
        runCli("analyze --code 600000 --open 1.05 --close 1.09 --yes-close 1" + flat + kNow).out,
        "trend=3\nscore=170\nkey_price=1.000000\nend5=1.000000\nend10=1.000000\nmode_b=0\nbuy_a=-\n"
        "buy_b=-\naccel=-\ngain5=9.0000\ngain10=9.0000\nt10=3\nt180=3\nt300=3\nvalid=1\n");

    // A zero base gives undefined gains; after a step the two bases differ.
    const std::string zero = " --history " + write("z.txt", HistoryBuilder().flat(30, 0).text());
    const std::string step =
        " --history " +
        write("s.txt", HistoryBuilder().flat(5, 1).flat(5, 0.8).flat(50, 0.5).text());
    for (auto [args, gains] : {std::pair{zero + " --close 0", "gain5=nan\n"},
                               {zero + " --close -5", "gain5=-inf\n"},
                               {step + " --close 1.09", "gain5=9.0000\ngain10=36.2500\n"}}) {
        const auto r = runCli("analyze --code 600000 --open 0 --yes-close 0" + args + kNow);
        EXPECT_NE(r.out.find(gains), std::string::npos) << r.out;
    }
    for (const std::string& bad :
         {" --history /no/such/file" + std::string(kNow), flat + " --now x"})
        EXPECT_NE(runCli("analyze --code 600000 --open 1 --close 1 --yes-close 1" + bad).status, 0);
}

// 18 days are the shortest valid history: with --drop-newest it had 17.
TEST_F(Cli, AnalyzeDirListsStocksInNameOrderJudgingTheTextItAnalyses) {
    write("600018.txt", HistoryBuilder().flat(18, 10).text());
    write("000001.txt", HistoryBuilder().day(1.09).flat(60, 1.0).text());
    write("300001.txt", "Date\n1,2,3\n");
    const auto r = analyzeDir();
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.out.substr(0, r.out.find("\n000001\t")),
        "code\ttrend\tscore\tkey_price\tend5\tend10\tmode_b\tbuy_a\tbuy_b\taccel\tgain5\tgain10"
        "\tt10\tt180\tt300");
    EXPECT_NE(r.out.find("\n300001\tinvalid\n600018\t"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("600018\tinvalid"), std::string::npos) << r.out;
    write("600019.txt", HistoryBuilder().flat(19, 10).text());
    const std::string out = analyzeDir(" --drop-newest").out;
    EXPECT_NE(out.find("\n600018\tinvalid\n600019\t"), std::string::npos) << out;
    EXPECT_EQ(out.find("600019\tinvalid"), std::string::npos) << out;
}

TEST_F(Cli, VerboseCountsBeforeAndAfterTheSubcommand) {
    write("600000.txt", HistoryBuilder().flat(60, 1.0).text());
    const std::string command = "analyze-dir " + dir.path().string() + kNow;
    for (auto [line, logs] : {std::pair{command, false},
                              {"-v " + command, true},
                              {"analyze-dir -v " + dir.path().string() + kNow, true},
                              {command + " --verbose", true}}) {
        // The engine's log lines go to stderr: here with stdout.
        const auto r =
            orvane::test::runProgram("(" + std::string(ORVANE_CLI) + " " + line + " 2>&1)");
        EXPECT_EQ(r.status, 0) << line;
        EXPECT_EQ(r.out.find("[info]") != std::string::npos, logs) << line << "\n" << r.out;
    }
}
