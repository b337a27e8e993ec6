// Replacing files of the data folder: staged sets promoted together or not
// at all, the names of a run's downloads, leftovers of killed runs, and the
// data folder's lock between runs.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataFolderLock.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/StagedFileSet.h"
#include "orvane/core/StagingFolder.h"

using namespace orvane;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

/// The id of a process that ran and ended.
long endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(StagedFileSet, PromotesEveryFileOrPutsTheOldOnesBack) {
    test::TempDataDir dir;
    const fs::path f = dir.path();
    ASSERT_TRUE(writeFileAtomically(f / "a.txt", "old a"));
    ASSERT_TRUE(writeFileAtomically(f / "c.txt", "old c"));
    {
        StagedFileSet set(f, "lists");
        EXPECT_TRUE(set.write("a.txt", "new a"));
        EXPECT_TRUE(set.write("b.txt", "new b"));
        EXPECT_TRUE(set.write("c.txt", "new c"));
        // The third rename fails (a folder where its staged file was).
        const fs::path staged = stagingFolderFor(f / "lists", ::getpid()) / "c.txt";
        fs::remove(staged);
        fs::create_directory(staged);
        const auto failure = set.promote();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->rfind("cannot replace " + (f / "c.txt").string() + ": ", 0), 0u)
            << *failure;
    }
    EXPECT_EQ(readFile(f / "a.txt"), "old a");
    EXPECT_EQ(readFile(f / "c.txt"), "old c");
    EXPECT_EQ(namesIn(f), (std::vector<std::string>{"a.txt", "c.txt"}));

    StagedFileSet set(f, "lists");
    set.write("a.txt", "new a");
    set.writeList("l.plist", Array{1, 2});
    EXPECT_FALSE(set.promote());
    EXPECT_EQ(readFile(f / "a.txt"), "new a");
    EXPECT_EQ(namesIn(f), (std::vector<std::string>{"a.txt", "c.txt", "l.plist"}));
}

TEST(StagedFileSet, AFailedWriteKeepsTheWholeOldSetAndNamesTheFile) {
    test::TempDataDir dir;
    const fs::path f = dir.path();
    ASSERT_TRUE(writeFileAtomically(f / "a.txt", "old a"));
    StagedFileSet set(f, "lists");
    EXPECT_TRUE(set.write("a.txt", "new a"));
    EXPECT_FALSE(set.write("sub/b.txt", "no such folder"));
    EXPECT_FALSE(set.write("c.txt", "after a failure nothing is staged"));
    const auto failure = set.promote();
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, describe(WriteFailure{WriteStep::Create, f / "sub/b.txt", ENOENT}));
    EXPECT_EQ(readFile(f / "a.txt"), "old a");
    EXPECT_EQ(namesIn(f), std::vector<std::string>{"a.txt"});
}

TEST(StagedFileSet, LeftoversOfKilledRunsAreFinishedOrRemoved) {
    test::TempDataDir dir;
    const fs::path f = dir.path();
    const long dead = endedProcess();
    ASSERT_TRUE(writeFileAtomically(f / "a.txt", "old a"));
    ASSERT_TRUE(writeFileAtomically(f / "b.txt", "old b"));
    // Killed after its journal and its first rename: the set is completed.
    const fs::path promoting = stagingFolderFor(f / "lists", dead);
    fs::create_directories(promoting / ".previous");
    ASSERT_TRUE(writeFileAtomically(promoting / ".promoting", "a.txt\nb.txt\n"));
    ASSERT_TRUE(writeFileAtomically(f / "a.txt", "new a"));
    ASSERT_TRUE(writeFileAtomically(promoting / "b.txt", "new b"));
    // Killed while staging: dropped.
    const fs::path staging = stagingFolderFor(f / "other", dead);
    fs::create_directories(staging);
    ASSERT_TRUE(writeFileAtomically(staging / "a.txt", "half"));
    // Downloads of the dead run go, a running one's stay.
    ASSERT_TRUE(writeFileAtomically(f / ("x.txt.incoming-" + std::to_string(dead) + "-3"), "x"));
    const fs::path mine = incomingPathFor(f / "x.txt");
    ASSERT_TRUE(writeFileAtomically(mine, "mine"));

    StagedFileSet::recoverStaleSets(f, "other");
    StagedFileSet set(f, "lists");
    EXPECT_EQ(readFile(f / "a.txt"), "new a");
    EXPECT_EQ(readFile(f / "b.txt"), "new b");
    EXPECT_EQ(namesIn(f), (std::vector<std::string>{".lists.staging-" + std::to_string(::getpid()),
                                                    "a.txt", "b.txt", mine.filename().string()}));
    EXPECT_NE(incomingPathFor(f / "x.txt"), incomingPathFor(f / "x.txt"));
}

TEST(DataFolderLock, ASecondRunWaitsSaysForWhomAndGivesUp) {
    test::TempDataDir dir;
    std::optional<DataFolderLock> first;
    first.emplace(dir.path(), 0ms, nullptr);
    ASSERT_TRUE(first->held());
    // The same thread takes it again at once.
    EXPECT_TRUE(DataFolderLock(dir.path(), 0ms, nullptr).held());

    const std::string notice = DataFolderLock::waitingNotice(::getpid());
    EXPECT_EQ(notice, "waiting for another Orvane run on this folder (pid " +
                          std::to_string(::getpid()) + ")");
    std::vector<std::string> heard;
    std::string failure;
    std::thread([&] {
        DataFolderLock second(dir.path(), 300ms, [&](const std::string& n) { heard.push_back(n); });
        EXPECT_FALSE(second.held());
        failure = second.failure();
    }).join();
    EXPECT_EQ(heard, std::vector<std::string>{notice});
    EXPECT_EQ(failure, notice + ": it still ran after 300 ms");

    std::stop_source stop;
    std::atomic<bool> waiting{false}, held{false};
    std::thread waiter([&] {
        DataFolderLock second(
            dir.path(), 10s, [&](const std::string&) { waiting = true; }, stop.get_token());
        held = second.held();
    });
    while (!waiting) std::this_thread::sleep_for(5ms);
    first.reset();  // the waiter takes it
    waiter.join();
    EXPECT_TRUE(held);

    first.emplace(dir.path(), 0ms, nullptr);
    std::thread stopped([&] {
        DataFolderLock second(dir.path(), 10s, nullptr, stop.get_token());
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.failure(), "stopped while " + notice);
    });
    std::this_thread::sleep_for(50ms);
    stop.request_stop();
    stopped.join();
}
