// The file-writing layer under injected faults: the plan's syntax, the N-th
// operation failing with its error and naming its file, and the atomic
// writers leaving the old file or folder whole.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/NewFileStream.h"
#include "orvane/core/StagingFolder.h"
#include "orvane/core/WriteFaults.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

class FileWritesTest : public ::testing::Test {
  protected:
    void TearDown() override { setWriteFaultPlan(std::nullopt); }
    static void failAt(long n, int error, bool andLater = false) {
        setWriteFaultPlan(WriteFaultPlan{n, error, andLater});
    }
    static std::size_t filesIn(const fs::path& folder) {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    test::TempDataDir dir;
};

}  // namespace

TEST_F(FileWritesTest, PlansReadAsTheEnvironmentGivesThem) {
    const auto once = parseWriteFaultPlan("7:ENOSPC");
    ASSERT_TRUE(once);
    EXPECT_EQ(once->failAt, 7);
    EXPECT_EQ(once->error, ENOSPC);
    EXPECT_FALSE(once->andLater);
    const auto later = parseWriteFaultPlan("12+:EIO");
    ASSERT_TRUE(later);
    EXPECT_EQ(later->failAt, 12);
    EXPECT_EQ(later->error, EIO);
    EXPECT_TRUE(later->andLater);
    for (const char* bad : {"", "7", "0:EIO", "-1:EIO", "x:EIO", "7:EBADF", "7:", "7+:", "7 :EIO"})
        EXPECT_FALSE(parseWriteFaultPlan(bad)) << bad;
}

// An atomic write is a create, a write, a flush and a rename; whichever
// fails, the old file stays whole, no temporary file is left, and the
// failure names the file written (not the temporary one) and the cause.
TEST_F(FileWritesTest, EachStepOfAnAtomicWriteFailsAloneAndKeepsTheOldFile) {
    const fs::path file = dir.path() / "Setting.plist";
    ASSERT_TRUE(writeFileAtomically(file, "old"));
    setWriteFaultPlan(std::nullopt);
    ASSERT_TRUE(writeFileAtomically(file, "new"));
    EXPECT_EQ(writeOperationCount(), 4);
    const WriteStep steps[] = {WriteStep::Create, WriteStep::Write, WriteStep::Flush,
                               WriteStep::Rename};
    for (long n = 1; n <= 4; ++n) {
        ASSERT_TRUE(writeFileAtomically(file, "old"));
        failAt(n, n % 2 ? ENOSPC : EIO);
        forgetWriteFailure();
        EXPECT_FALSE(writeFileAtomically(file, "a longer new text")) << n;
        EXPECT_EQ(readFile(file), "old") << n;
        EXPECT_EQ(filesIn(dir.path()), 1u) << n;
        const auto failure = lastWriteFailure();
        ASSERT_TRUE(failure) << n;
        EXPECT_EQ(failure->step, steps[n - 1]);
        EXPECT_EQ(failure->file, file);
        EXPECT_EQ(failure->error, n % 2 ? ENOSPC : EIO);
        EXPECT_NE(describe(*failure).find(file.string() + ": "), std::string::npos);
        // Only the planned operation fails.
        EXPECT_TRUE(writeFileAtomically(file, "old")) << n;
        setWriteFaultPlan(std::nullopt);
    }
}

// A file that was there before a failed write is no file of the write's to
// remove (it may be a device, as /dev/full).
// A file written atomically is readable by all, as a file made plainly is:
// the temporary file it starts as is private to its owner.
TEST_F(FileWritesTest, AnAtomicallyWrittenFileIsReadableByAll) {
    const fs::path file = dir.path() / "shared.txt";
    ASSERT_TRUE(writeFileAtomically(file, "x"));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

TEST_F(FileWritesTest, AFailedWriteOverAFileItDidNotMakeLeavesItThere) {
    const fs::path file = dir.path() / "there";
    ASSERT_TRUE(writeNewFile(file, "old"));
    failAt(2, ENOSPC);
    EXPECT_FALSE(writeNewFile(file, "new"));
    EXPECT_TRUE(fs::exists(file));
    failAt(2, EIO);
    EXPECT_FALSE(writeNewFile(dir.path() / "new", "new"));
    EXPECT_FALSE(fs::exists(dir.path() / "new"));  // one it made is removed
}

// A stream gives the file exactly its bytes, small pieces gathered and large
// ones passed on, in one write operation; a full disk in the middle of it
// (here /dev/full) fails it with the cause, and a refused write stops it.
TEST_F(FileWritesTest, AStreamWritesItsBytesInOrderAndStopsAtTheFirstFailure) {
    setWriteFaultPlan(std::nullopt);
    std::string expected;
    {
        NewFile file = NewFile::create(dir.path() / "streamed");
        NewFileStream out(file, 16);
        for (std::size_t n : {3, 20, 16, 1, 0, 15, 40}) {
            const std::string piece(n, static_cast<char>('a' + n % 26));
            out << piece << '\n';
            expected += piece + '\n';
        }
        ASSERT_TRUE(out.finish());
        ASSERT_TRUE(file.close());
    }
    EXPECT_EQ(readFile(dir.path() / "streamed"), expected);
    EXPECT_EQ(writeOperationCount(), 2);  // its create and its write

    {
        NewFile file = NewFile::create(dir.path() / "empty");
        NewFileStream out(file);
        EXPECT_TRUE(out.finish());
        EXPECT_EQ(writeOperationCount(), 4);  // a file given nothing still counts its write
    }

    forgetWriteFailure();
    NewFile full = NewFile::create("/dev/full");
    ASSERT_TRUE(full.isOpen());
    NewFileStream toFull(full, 64);
    toFull << std::string(100, 'x') << std::string(10, 'y');
    EXPECT_FALSE(toFull.finish());
    EXPECT_FALSE(toFull.good());
    ASSERT_TRUE(lastWriteFailure());
    EXPECT_EQ(lastWriteFailure()->error, ENOSPC);

    failAt(2, EIO);
    NewFile refused = NewFile::create(dir.path() / "refused");
    NewFileStream stopped(refused, 8);
    stopped << "0123456789"
            << "more";
    EXPECT_FALSE(stopped.finish());
    EXPECT_EQ(lastWriteFailure()->error, EIO);
    refused.discard();
    EXPECT_FALSE(fs::exists(dir.path() / "refused"));
}

TEST_F(FileWritesTest, APlanWithLaterFailsEveryOperationFromItsOwn) {
    failAt(2, ENOSPC, true);
    EXPECT_TRUE(makeFolders(dir.path() / "a"));
    EXPECT_FALSE(makeFolders(dir.path() / "b"));
    EXPECT_FALSE(writeNewFile(dir.path() / "a" / "x", "x"));
    EXPECT_FALSE(fs::exists(dir.path() / "b"));
    EXPECT_FALSE(fs::exists(dir.path() / "a" / "x"));  // a failed file is not left
    EXPECT_EQ(writeOperationCount(), 3);
}

// A failed swap leaves the old folder in place and the staged one where it
// was, whether the exchange itself fails or the folder is new.
TEST_F(FileWritesTest, AFailedSwapLeavesBothFoldersAsTheyWere) {
    const fs::path target = dir.path() / "tree", staging = stagingFolderFor(target, 1);
    ASSERT_TRUE(writeNewFile(target / "a", "old"));
    ASSERT_TRUE(writeNewFile(staging / "a", "new"));
    failAt(1, EIO);
    EXPECT_FALSE(swapFolderIn(staging, target));
    EXPECT_EQ(readFile(target / "a"), "old");
    EXPECT_EQ(readFile(staging / "a"), "new");
    const fs::path fresh = dir.path() / "fresh";
    failAt(2, ENOSPC);  // the folder above is made, the rename fails
    EXPECT_FALSE(swapFolderIn(staging, fresh));
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(readFile(staging / "a"), "new");
    setWriteFaultPlan(std::nullopt);
    EXPECT_TRUE(swapFolderIn(staging, target));
    EXPECT_EQ(readFile(target / "a"), "new");
}

TEST_F(FileWritesTest, TheOldTreeGoesWholeButNothingItsLinksPointAt) {
    const fs::path target = dir.path() / "tree", staging = dir.path() / "staging";
    const fs::path outside = dir.path() / "outside";
    ASSERT_TRUE(writeNewFile(outside / "keep.txt", "mine"));
    // Deeper and wider than the removal's first split, files at every level.
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 40; ++b)
            for (int c = 0; c < 4; ++c)
                ASSERT_TRUE(writeNewFile(target / std::to_string(a) / std::to_string(b) /
                                             std::to_string(c) / "x" / "f.txt",
                                         "old"));
    ASSERT_TRUE(writeNewFile(target / "top.txt", "old"));
    fs::create_directory_symlink(outside, target / "0" / "1" / "link");
    ASSERT_TRUE(writeNewFile(staging / "new.txt", "new"));

    ASSERT_TRUE(swapFolderIn(staging, target));
    EXPECT_EQ(readFile(target / "new.txt"), "new");
    EXPECT_EQ(filesIn(target), 1u);
    EXPECT_FALSE(fs::exists(staging));
    EXPECT_EQ(readFile(outside / "keep.txt"), "mine");
}

// Read at the size the file tells, and on past it: a file of many buffers
// comes back whole, and one that tells no size (as /proc's) too.
TEST_F(FileWritesTest, AFileIsReadWholeWhateverSizeItTells) {
    std::string bytes;
    for (int i = 0; bytes.size() < 300'000; ++i) bytes += std::to_string(i) + ',';
    ASSERT_TRUE(writeFileAtomically(dir.path() / "big", bytes));
    EXPECT_EQ(readFile(dir.path() / "big"), bytes);
    EXPECT_EQ(readFile(dir.path() / "missing"), std::nullopt);
    const auto status = readFile("/proc/self/status");
    ASSERT_TRUE(status);
    EXPECT_NE(status->find("Pid:"), std::string::npos);
}
