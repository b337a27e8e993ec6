// The orvane command line, run as a program.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "HistoryBuilder.h"
#include "RunProgram.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"

namespace {

using CliRun = orvane::test::ProgramRun;

CliRun runCli(const std::string& args) {
    return orvane::test::runProgram(std::string(ORVANE_CLI) + " " + args);
}

void write(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

}  // namespace

TEST(Cli, Csv2HistMapsColumnsByNameNewestFirst) {
    orvane::test::TempDataDir dir;
    write(dir.path() / "a.csv",
          "date,open,close,high,low,volume,amount\n"
          "2025-09-01,10.004,10.5,10.6,9.9,1234.5,\n"
          "2025-09-02,10.5,10.995,11,10.4,99.49,\n"
          "2025-09-03,1,2\n");
    CliRun r = runCli("csv2hist " + (dir.path() / "a.csv").string() + " " +
                      (dir.path() / "a.txt").string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(*orvane::readFile(dir.path() / "a.txt"),
              "Date,Open,High,Low,Close,Volume,Adj Close\n"
              "2025-09-02,10.50,11.00,10.40,10.99,99,10.99\n"
              "2025-09-01,10.00,10.60,9.90,10.50,1234,10.50\n");
}

TEST(Cli, Csv2HistDirStopsAtUntilAndRejectsBadInput) {
    orvane::test::TempDataDir dir;
    std::filesystem::create_directory(dir.path() / "in");
    write(dir.path() / "in" / "600000.csv",
          "date,open,close,high,low,volume\n2025-09-01,1,1,1,1,100\n2025-09-02,2,2,2,2,200\n");
    CliRun r = runCli("csv2hist-dir " + (dir.path() / "in").string() + " " +
                      (dir.path() / "out").string() + " --until 2025-09-01");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        *orvane::readFile(dir.path() / "out" / "600000.txt"),
        "Date,Open,High,Low,Close,Volume,Adj Close\n2025-09-01,1.00,1.00,1.00,1.00,100,1.00\n");
    write(dir.path() / "in" / "bad.csv", "when,price\n1,2\n");
    EXPECT_NE(
        runCli("csv2hist-dir " + (dir.path() / "in").string() + " " + (dir.path() / "out").string())
            .status,
        0);
    EXPECT_NE(runCli("csv2hist-dir " + (dir.path() / "in").string() + " " +
                     (dir.path() / "o2").string() + " --until 2025-13-01")
                  .status,
              0);
}

TEST(Cli, AnalyzePrintsEveryKeyInOrder) {
    orvane::test::TempDataDir dir;
    write(dir.path() / "h.txt", orvane::test::HistoryBuilder().flat(60, 1.0).text());
    CliRun r =
        runCli("analyze --history " + (dir.path() / "h.txt").string() +
               " --code 600000 --open 1.05 --close 1.09 --yes-close 1 --now '2025-09-03 15:00:00'");
    EXPECT_EQ(r.status, 0);
    // Flat history, no trend rule holds: the final code is W300's (sideways),
    // so the model-B check does not run. Score: 59-day regions (medium +10,
    // wide +12, narrow +28), start day 1 (3 x 5), close 9% above the region
    // high (3 x 5), flat slope (-10).
    EXPECT_EQ(
        r.out,
        "trend=3\nscore=170\nkey_price=1.000000\nend5=1.000000\nend10=1.000000\nmode_b=0\nbuy_a=-\n"
        "buy_b=-\naccel=-\ngain5=9.0000\ngain10=9.0000\nt10=3\nt180=3\nt300=3\nvalid=1\n");
}

TEST(Cli, AnalyzeUndefinedAndInfiniteNumbers) {
    orvane::test::TempDataDir dir;
    write(dir.path() / "h.txt", orvane::test::HistoryBuilder().flat(30, 0).text());
    CliRun r =
        runCli("analyze --history " + (dir.path() / "h.txt").string() +
               " --code 600000 --open 0 --close 0 --yes-close 0 --now '2025-09-03 15:00:00'");
    EXPECT_NE(r.out.find("gain5=nan\n"), std::string::npos) << r.out;
    r = runCli("analyze --history " + (dir.path() / "h.txt").string() +
               " --code 600000 --open 0 --close -5 --yes-close 0 --now '2025-09-03 15:00:00'");
    EXPECT_NE(r.out.find("gain5=-inf\n"), std::string::npos) << r.out;
    EXPECT_NE(
        runCli("analyze --history /no/such/file --code 600000 --open 1 --close 1 --yes-close 1 "
               "--now '2025-09-03 15:00:00'")
            .status,
        0);
    EXPECT_NE(runCli("analyze --history " + (dir.path() / "h.txt").string() +
                     " --code 600000 --open 1 --close 1 --yes-close 1 --now 'yesterday'")
                  .status,
              0);
}

TEST(Cli, AnalyzeDirListsStocksInNameOrder) {
    orvane::test::TempDataDir dir;
    write(dir.path() / "600001.txt", orvane::test::HistoryBuilder().flat(60, 2.0).text());
    write(dir.path() / "000001.txt", orvane::test::HistoryBuilder().day(1.09).flat(60, 1.0).text());
    write(dir.path() / "300001.txt", "Date\n1,2,3\n");
    CliRun r = runCli("analyze-dir " + dir.path().string() + " --now '2025-09-03 15:00:00'");
    EXPECT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    std::string header, first, second, third;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    EXPECT_EQ(header,
              "code\ttrend\tscore\tkey_price\tend5\tend10\tmode_b\tbuy_a\tbuy_"
              "b\taccel\tgain5\tgain10\tt10"
              "\tt180\tt300");
    EXPECT_EQ(first.substr(0, 7), "000001\t");
    EXPECT_EQ(second, "300001\tinvalid");
    EXPECT_EQ(third.substr(0, 7), "600001\t");

    // Without its newest line the history no longer holds today's jump.
    CliRun dropped =
        runCli("analyze-dir " + dir.path().string() + " --now '2025-09-03 15:00:00' --drop-newest");
    EXPECT_NE(dropped.out, r.out);
}
