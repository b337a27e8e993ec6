#include "orvane/core/ReferenceArchive.h"

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "ZipWriter.h"
#include "orvane/core/AtomicFile.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries goodEntries() {
    return {{"constdata/", ""},
            {"constdata/stockcode/code.txt", "new table"},
            {"constdata/plate/银行.txt", "600000\n"},
            {"constdata\\composit\\399001.txt", ""},  // "\" separators
            {"__MACOSX/constdata/._code.txt", "junk"},
            {"Config.plist", "not for the data directory"}};
}

class ReferenceArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(codeTable().parent_path());
        ASSERT_TRUE(writeFileAtomically(codeTable(), "old"));
    }
    ArchiveInstallResult install(const Entries& entries) {
        EXPECT_TRUE(test::writeZip(archive, entries));
        return installReferenceArchive(archive, dir.path());
    }
    bool oldDataIntact() { return readFile(codeTable()) == "old"; }
    fs::path codeTable() const { return dir.path() / "constdata" / "stockcode" / "code.txt"; }
    /// Nothing but the old folder and the archive remain in the data directory.
    std::vector<std::string> leftovers() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path()))
            if (e.path() != archive) names.push_back(e.path().filename().string());
        return names;
    }

    test::TempDataDir dir;
    fs::path archive = dir.path() / "constdata.zip";
};

}  // namespace

TEST_F(ReferenceArchiveTest, SoundArchiveReplacesTheFolderAndLeavesNothingElse) {
    auto r = install(goodEntries());
    ASSERT_TRUE(r.installed) << r.reason;
    EXPECT_EQ(r.entries, 6u);
    EXPECT_EQ(readFile(codeTable()), "new table");
    EXPECT_TRUE(fs::exists(dir.path() / "constdata" / "plate" / "银行.txt"));
    EXPECT_TRUE(fs::exists(dir.path() / "constdata" / "composit" / "399001.txt"));
    EXPECT_EQ(leftovers(), std::vector<std::string>{"constdata"});
    // The entry's date and time become the file's modification date.
    auto when = fs::last_write_time(dir.path() / "constdata" / "plate" / "银行.txt");
    auto secs = std::chrono::duration_cast<std::chrono::hours>(
        std::chrono::file_clock::to_sys(when).time_since_epoch());
    EXPECT_NEAR(secs.count() / 24.0 / 365.25 + 1970, 2013.9, 0.1);
    // A first installation needs no old folder.
    fs::remove_all(dir.path() / "constdata");
    EXPECT_TRUE(install(goodEntries()).installed);
    EXPECT_EQ(readFile(codeTable()), "new table");
}

TEST_F(ReferenceArchiveTest, EntriesEscapingTheFolderRefuseTheWholeArchive) {
    for (std::string bad : {"../evil.txt", "/tmp/orvane-evil.txt", "C:\\evil.txt",
                            "constdata/../../evil.txt", "constdata\\..\\..\\evil.txt"}) {
        auto entries = goodEntries();
        entries.emplace_back(bad, "evil");
        fs::remove(archive);
        auto r = install(entries);
        EXPECT_FALSE(r.installed) << bad;
        EXPECT_NE(r.reason.find("outside"), std::string::npos) << r.reason;
        EXPECT_TRUE(oldDataIntact());
        EXPECT_FALSE(fs::exists(dir.path().parent_path() / "evil.txt"));
        EXPECT_FALSE(fs::exists("/tmp/orvane-evil.txt"));
        EXPECT_EQ(leftovers(), std::vector<std::string>{"constdata"});
    }
    EXPECT_EQ(safeEntryPath("a\\b/./c"), fs::path("a/b/c"));
    EXPECT_TRUE(safeEntryPath("").empty());
    EXPECT_TRUE(safeEntryPath(std::string("x/..\0/y", 7)).empty());
}

TEST_F(ReferenceArchiveTest, BrokenOrOversizedDownloadsLeaveTheOldDataInPlace) {
    auto missing = goodEntries();
    missing.erase(missing.begin() + 2);  // no plate folder
    auto r = install(missing);
    EXPECT_FALSE(r.installed);
    EXPECT_NE(r.reason.find("constdata/plate"), std::string::npos);
    EXPECT_TRUE(oldDataIntact());

    ASSERT_TRUE(test::writeZip(archive, {{"constdata/stockcode/code.txt", std::string(20000, 'x')},
                                         {"constdata/plate/a.txt", std::string(20000, 'y')},
                                         {"constdata/composit/b.txt", "z"}}));
    ArchiveLimits tight;
    tight.maxTotalBytes = 8;
    EXPECT_FALSE(installReferenceArchive(archive, dir.path(), tight).installed);
    auto whole = *readFile(archive);
    ASSERT_TRUE(writeFileAtomically(archive, whole.substr(0, whole.size() / 2)));
    EXPECT_FALSE(installReferenceArchive(archive, dir.path()).installed);
    EXPECT_TRUE(oldDataIntact());
    EXPECT_EQ(leftovers(), std::vector<std::string>{"constdata"});
}
