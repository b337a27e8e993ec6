// fetch, search, sector and update-reference run as a program against a
// local data server.

#include <gtest/gtest.h>

#include "LocalHttpServer.h"
#include "RunProgram.h"
#include "TempDataDir.h"
#include "ZipWriter.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextEncoding.h"

namespace fs = std::filesystem;

namespace {

using CliRun = orvane::test::ProgramRun;

CliRun runCli(const std::string& args) {
    return orvane::test::runProgram(std::string(ORVANE_CLI) + " " + args);
}

class MarketCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/base/const/hisdata/retdata/600000.txt",
              [](const httplib::Request&, httplib::Response& res) {
                  res.set_content(
                      "curStockCode=600000\nOneTrade_date=2025-09-03\nOneTrade_closePrice=10.50\n"
                      "trend=2\nstockScore=120\nbefore_trend=3\nbeforeTrade_date=2025-08-27\n",
                      "text/plain");
              });
        s.Get("/base/const/updateconfigfile.txt",
              [](const httplib::Request&, httplib::Response& res) {
                  res.set_content("constdata=2025-09-01", "text/plain");
              });
        s.Get("/base/const/constdata.zip", [this](const httplib::Request&, httplib::Response& res) {
            if (archive.empty())
                res.status = 404;
            else
                res.set_content(archive, "application/zip");
        });
        server.start();
    }
    std::string servers() const {
        return " --server " + server.url("/base") + " --quote-server " + server.url("/quote");
    }

    orvane::test::TempDataDir dir;
    orvane::test::LocalHttpServer server;
    std::string archive;
};

}  // namespace

TEST_F(MarketCommandsTest, FetchPrintsTheRecordWithItsNestedRecordIndented) {
    CliRun r = runCli("fetch 600000" + servers());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("STOCK_Code=600000\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("STOCK_DICTINFO_Before5Days:\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n  STOCK_DATE=2025-08-27\n"), std::string::npos);
    EXPECT_NE(r.out.find("STOCK_Discription=下降趋势\n"), std::string::npos);

    EXPECT_NE(runCli("fetch 60000a" + servers()).status, 0);
    EXPECT_NE(runCli("fetch 600001" + servers()).status, 0);  // 404: no record
}

TEST_F(MarketCommandsTest, RefusedInstallationFailsAndKeepsTheOldData) {
    fs::create_directories(dir.path() / "constdata" / "plate");
    ASSERT_TRUE(
        orvane::writeFileAtomically(dir.path() / "constdata" / "plate" / "旧.txt", "600000\n"));
    EXPECT_NE(runCli("update-reference" + servers()).status, 0);
    EXPECT_EQ(runCli("sector 600000").out, "600000 属于板块:旧\n");
}

TEST_F(MarketCommandsTest, InstalledReferenceDataServesSearchAndSector) {
    const fs::path zip = dir.path() / "made.zip";
    ASSERT_TRUE(orvane::test::writeZip(
        zip, {{"constdata/stockcode/code.txt", *orvane::utf8ToUtf16("600000\t浦发银行\tPFYH\n")},
              {"constdata/plate/银行.txt", "600000\n"},
              {"constdata/composit/399001.txt", ""}}));
    archive = *orvane::readFile(zip);
    fs::remove(zip);
    CliRun r = runCli("update-reference" + servers());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(runCli("search PF").out, "600000\t浦发银行\tPFYH\n");
    EXPECT_EQ(runCli("sector 600000").out, "600000 属于板块:银行\n");
    EXPECT_EQ(runCli("update-reference" + servers()).status, 0);  // up to date
}
