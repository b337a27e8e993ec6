#include "orvane/core/DataDirectory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDataDir.h"

using namespace orvane;
namespace fs = std::filesystem;

TEST(DataDirectory, FollowsEnvironmentInOrder) {
    unsetenv("ORVANE_DATA_DIR");
    setenv("XDG_DATA_HOME", "/x/data", 1);
    EXPECT_EQ(dataDirectory(), fs::path("/x/data/Orvane"));
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(dataDirectory(), fs::path("/home/u/.local/share/Orvane"));
    setenv("ORVANE_DATA_DIR", "/d", 1);
    EXPECT_EQ(dataDirectory(), fs::path("/d"));
    unsetenv("ORVANE_DATA_DIR");
}

TEST(DataDirectory, FoldersAreCreatedOnFirstUseAndKeptAfterwards) {
    test::TempDataDir dir;
    test::FixedNow now(2013, 11, 22, 9, 30);
    fs::remove(dir.path());
    const fs::path gains = getGainsPath();
    EXPECT_EQ(gains, dir.path() / "Gains");
    EXPECT_TRUE(fs::is_directory(dir.path() / "History"));
    std::ofstream(gains / "keep.txt") << "x";
    EXPECT_EQ(getGainsPath(), gains);
    EXPECT_TRUE(fs::exists(gains / "keep.txt"));
    EXPECT_TRUE(fs::is_directory(getDowloadPath("abc")));
    EXPECT_EQ(getDowloadPath("abc"), dir.path() / "Data" / "abc" / "2013-11-22");
    // A plain file standing in the way is left alone.
    std::ofstream(dir.path() / "k") << "not a folder";
    EXPECT_EQ(getLine_K_Path(), dir.path() / "k");
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "k"));
}

TEST(DataDirectory, DataDirectoryItselfIsCreatedWithoutParents) {
    test::TempDataDir dir;
    setenv("ORVANE_DATA_DIR", (dir.path() / "missing" / "Orvane").c_str(), 1);
    ensureDataDirectoryExists();
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
    setenv("ORVANE_DATA_DIR", (dir.path() / "Orvane").c_str(), 1);
    ensureDataDirectoryExists();
    EXPECT_TRUE(fs::is_directory(dir.path() / "Orvane"));
}
