#include "orvane/market/ReferenceUpdate.h"

#include <gtest/gtest.h>

#include "LocalHttpServer.h"
#include "TempDataDir.h"
#include "ZipWriter.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/RunLoop.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/SectorGroups.h"

using namespace orvane;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Check = ReferenceUpdate::Check;

namespace {

class ReferenceUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/base/const/updateconfigfile.txt", [this](const auto&, httplib::Response& res) {
            res.set_content(version, "text/plain");
        });
        s.Get("/base/const/constdata.zip", [this](const auto&, httplib::Response& res) {
            ++archiveHits;
            res.status = archiveStatus;
            res.set_content(archive, "application/zip");
        });
        server.start();
        MarketServers::install(
            std::make_shared<MarketServers>(server.url("/base"), server.url("/quote")));
        fs::path zip = dir.path() / "made.zip";
        ASSERT_TRUE(test::writeZip(zip, {{"constdata/stockcode/code.txt", "table"},
                                         {"constdata/plate/银行.txt", "600000\n"},
                                         {"constdata/composit/399001.txt", ""}}));
        archive = *readFile(zip);
        fs::remove(zip);
    }
    void TearDown() override { MarketServers::install(nullptr); }

    /// Runs the check and waits for the installation when one started.
    Check run() {
        auto update = ReferenceUpdate::create();
        std::optional<ArchiveInstallResult> result;
        update->setFinishHandler([&](const ArchiveInstallResult& r) { result = r; });
        auto check = update->downloadConstData();
        if (check == Check::Downloading) {
            EXPECT_TRUE(loop.loop().runUntil([&] { return result.has_value(); }, 10s));
            EXPECT_TRUE(result && result->installed) << (result ? result->reason : "");
        }
        return check;
    }
    void record(const std::string& date) {
        writePropertyList(dir.path() / "Config.plist", Dictionary{{"configDate", date}});
    }

    test::TempDataDir dir;
    ScopedRunLoop loop;
    test::LocalHttpServer server;
    std::string version = "constdata=2013-11-22";
    std::string archive;
    std::atomic<int> archiveHits{0};
    std::atomic<int> archiveStatus{200};
};

}  // namespace

TEST_F(ReferenceUpdateTest, NewVersionIsRecordedDownloadedAndInstalled) {
    EXPECT_EQ(SectorGroups::shared().getMyPlateProprityFormCode("600000"), "NONE");
    EXPECT_EQ(run(), Check::Downloading);
    EXPECT_EQ(ReferenceUpdate::getLastupdateConstData(), "2013-11-22");
    EXPECT_FALSE(fs::exists(dir.path() / "constdata.zip"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "trendupmode"));
    // The parsed sector groups were dropped by the installation.
    EXPECT_EQ(SectorGroups::shared().getMyPlateProprityFormCode("600000"), "银行");
    EXPECT_EQ(run(), Check::UpToDate);  // the same version at the next launch
    EXPECT_EQ(archiveHits, 1);
}

TEST_F(ReferenceUpdateTest, AFailedDownloadRecordsNoVersionSoTheNextCheckTriesAgain) {
    archiveStatus = 404;
    auto update = ReferenceUpdate::create();
    std::optional<ArchiveInstallResult> result;
    update->setFinishHandler([&](const ArchiveInstallResult& r) { result = r; });
    EXPECT_EQ(update->downloadConstData(), Check::Downloading);
    ASSERT_TRUE(loop.loop().runUntil([&] { return result.has_value(); }, 10s));
    EXPECT_EQ(result->reason, "the data server answered HTTP 404");
    EXPECT_FALSE(ReferenceUpdate::getLastupdateConstData());
    archiveStatus = 200;
    EXPECT_EQ(run(), Check::Downloading);
    EXPECT_EQ(ReferenceUpdate::getLastupdateConstData(), "2013-11-22");
}

TEST_F(ReferenceUpdateTest, OlderMalformedOrUnreachableVersionsDownloadNothing) {
    record("2013-11-22");
    version = "constdata=2013-11-21";
    EXPECT_EQ(run(), Check::UpToDate);
    EXPECT_EQ(ReferenceUpdate::getLastupdateConstData(), "2013-11-21");  // recorded all the same
    version = "constdata=2013-11-21\r\n";  // the line break is no part of the version
    EXPECT_EQ(run(), Check::UpToDate);
    // A version "Config.plist" would not give back (the NUL would end it) is none.
    for (std::string bad : {"version=2013-11-23", "constdata=", "constdata=2013-11-23\x01"}) {
        version = bad;
        EXPECT_EQ(run(), Check::Malformed) << bad;
    }
    version = std::string("constdata=2013-11-23\0", 21);
    EXPECT_EQ(run(), Check::Malformed);
    server.stop();
    EXPECT_EQ(run(), Check::Unreachable);
    EXPECT_EQ(ReferenceUpdate::getLastupdateConstData(), "2013-11-21");
    EXPECT_EQ(archiveHits, 0);
}
