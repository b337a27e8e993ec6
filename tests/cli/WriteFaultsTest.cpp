// Every command that writes, run with each of its file operations failing in
// turn (ORVANE_WRITE_FAULT), as a full or failing disk would make it fail.
// Each command first runs cleanly to count its operations and to give the
// files it writes; then, for every operation, it runs from the same start
// again with that operation failing, alternately with ENOSPC and EIO. Every
// such run must fail naming the file and the cause, leave each file either as
// it was or as the clean run left it (nothing else behind), and never leave
// the day's files of two days side by side.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>

#include "PublishedMarket.h"
#include "RunProgram.h"
#include "ServedTree.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"

namespace fs = std::filesystem;
using orvane::test::ProgramRun;

namespace {

/// A folder's files by their path below it.
using Snapshot = std::map<std::string, std::string>;

/// The bytes with the times of today blanked: reports and versions stamp
/// the moment they were made, which two runs do not share.
std::string withoutTimesOfToday(const std::string& bytes) {
    static const std::regex now(orvane::formatDate(orvane::toLocal(orvane::now())) +
                                "[ T][0-9]{2}[.:][0-9]{2}[.:][0-9]{2}");
    return std::regex_replace(bytes, now, "TIME");
}

/// A folder's files (the data folder's lock aside, which holds the pid of
/// the run that took it last).
Snapshot snapshotOf(const fs::path& folder) {
    Snapshot out;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && it->path().filename() != ".orvane.lock")
            out[fs::relative(it->path(), folder).string()] =
                withoutTimesOfToday(orvane::readFile(it->path()).value_or(""));
    return out;
}

void copyFolder(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::remove_all(to, ec);
    fs::create_directories(to);
    if (fs::exists(from)) fs::copy(from, to, fs::copy_options::recursive);
}

bool gainsFile(const std::string& name) {
    return name.starts_with("Gains/");
}

/// One command tried: how to run it on a folder made as `start` makes it.
struct Scenario {
    std::string name;
    /// The folder the command writes, filled as the day before left it.
    std::function<void(const fs::path& folder)> start;
    /// The command line that writes `folder`, the environment before it.
    std::function<std::string(const fs::path& folder)> command;
    /// Files that belong to one day: none of them old beside another new.
    std::function<bool(const std::string& file)> dayFile = [](const std::string&) { return false; };
    /// The clean run writes its files anew with the bytes they had.
    bool rewritesTheSame = false;
};

class WriteFaults : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dayOne = new orvane::test::ServedTree;
        dayTwo = new orvane::test::ServedTree;
        ASSERT_FALSE(orvane::test::publishSyntheticMarket(*dayOne, kStocks,
                                                          *orvane::parseDate("2025-12-05"), 330, 0)
                         .empty());
        ASSERT_FALSE(orvane::test::publishSyntheticMarket(*dayTwo, kStocks,
                                                          *orvane::parseDate("2025-12-08"), 330, 0)
                         .empty());
    }
    static void TearDownTestSuite() {
        delete dayOne;
        delete dayTwo;
        std::printf("[ figures  ] %s\n", figures.c_str());
    }

    static std::string cli(const fs::path& data, const std::string& args,
                           const orvane::test::ServedTree& server) {
        return "ORVANE_DATA_DIR=" + data.string() + " " + ORVANE_CLI + " " + args +
               server.serverOptions();
    }
    /// `orvane ARGS` on the second day, over a folder the first day's run left
    /// (with `sameDay`, the second day's).
    static Scenario cliDay(std::string name, std::string args,
                           std::function<bool(const std::string&)> dayFile = {},
                           bool sameDay = false) {
        Scenario s{.name = std::move(name),
                   .start =
                       [args, sameDay](const fs::path& data) {
                           orvane::test::runProgram(cli(data, args, sameDay ? *dayTwo : *dayOne));
                       },
                   .command = [args](const fs::path& data) { return cli(data, args, *dayTwo); },
                   .rewritesTheSame = sameDay};
        if (dayFile) s.dayFile = std::move(dayFile);
        return s;
    }
    /// A sector group of the market: the first `orvane sectors` lists.
    std::string firstGroup() const {
        const std::string listed =
            orvane::test::runProgram(cli(work.path() / "groups", "sectors", *dayOne)).out;
        return listed.substr(0, listed.find('\t'));
    }
    /// Runs `command` on a data folder in `work`, the day before's as it was.
    void tryEveryWrite(const Scenario& s) {
        const fs::path before = work.path() / "before", folder = work.path() / "folder";
        const fs::path counted = work.path() / "count";
        fs::create_directories(before);
        s.start(before);
        const Snapshot old = snapshotOf(before);

        copyFolder(before, folder);
        const ProgramRun clean = orvane::test::runProgram(
            "ORVANE_WRITE_COUNT=" + counted.string() + " " + s.command(folder), true);
        ASSERT_EQ(WEXITSTATUS(clean.status), 0) << s.name << ":\n" << clean.out;
        const Snapshot fresh = snapshotOf(folder);
        const long operations = std::stol(orvane::readFile(counted).value_or("0"));
        // A second clean run gives the same files: what a faulted run leaves
        // can be told apart from them.
        copyFolder(before, folder);
        ASSERT_EQ(WEXITSTATUS(orvane::test::runProgram(s.command(folder)).status), 0) << s.name;
        ASSERT_EQ(snapshotOf(folder), fresh) << s.name << ": two clean runs differ";
        ASSERT_GT(operations, 0) << s.name;
        if (!s.rewritesTheSame)
            ASSERT_NE(old, fresh) << s.name << ": the clean run changed nothing";

        for (long n = 1; n <= operations; ++n) {
            const bool full = n % 2 == 1;
            const std::string plan = std::to_string(n) + (full ? ":ENOSPC" : ":EIO");
            copyFolder(before, folder);
            const ProgramRun run = orvane::test::runProgram(
                "ORVANE_WRITE_FAULT=" + plan + " " + s.command(folder), true);
            const std::string what = s.name + " with operation " + plan + ":\n" + run.out;
            EXPECT_NE(WEXITSTATUS(run.status), 0) << what;
            EXPECT_NE(run.out.find(std::strerror(full ? ENOSPC : EIO)), std::string::npos) << what;
            // The file named may be a staging folder beside the folder.
            EXPECT_NE(run.out.find(work.path().string() + "/"), std::string::npos) << what;
            checkFiles(s, old, fresh, snapshotOf(folder), what);
        }
        figures += " " + s.name + " " + std::to_string(operations) + ";";
        std::printf("[ figures  ] %s: %ld operations, each failed in turn\n", s.name.c_str(),
                    operations);
    }
    /// Each file as it was or as the clean run left it; no two days mixed.
    static void checkFiles(const Scenario& s, const Snapshot& old, const Snapshot& fresh,
                           const Snapshot& now, const std::string& what) {
        std::set<std::string> names;
        for (const Snapshot* shot : {&old, &fresh, &now})
            for (const auto& [name, bytes] : *shot) names.insert(name);
        auto at = [](const Snapshot& shot, const std::string& name) {
            const auto it = shot.find(name);
            return it == shot.end() ? std::optional<std::string>() : it->second;
        };
        std::vector<std::string> kept, replaced;
        for (const std::string& name : names) {
            const auto was = at(old, name), is = at(now, name), cleanly = at(fresh, name);
            const bool asItWas = is == was, asCleanly = is == cleanly;
            EXPECT_TRUE(asItWas || asCleanly) << name << " is neither old nor new; " << what;
            if (was == cleanly || !s.dayFile(name)) continue;
            (asItWas ? kept : replaced).push_back(name);
        }
        if (!kept.empty() && !replaced.empty())
            ADD_FAILURE() << "two days side by side: " << kept.front() << " is old, "
                          << replaced.front() << " new; " << what;
    }

    static constexpr int kStocks = 8;
    static inline orvane::test::ServedTree* dayOne = nullptr;
    static inline orvane::test::ServedTree* dayTwo = nullptr;
    static inline std::string figures = "commands x operations tried:";
    orvane::test::TempDataDir work;
};

}  // namespace

TEST_F(WriteFaults, UpdateReference) {
    tryEveryWrite(cliDay("update-reference", "update-reference"));
}

// Up to date, the version is still written again: its failure fails too.
TEST_F(WriteFaults, UpdateReferenceUpToDate) {
    tryEveryWrite(cliDay("update-reference (up to date)", "update-reference", {}, true));
}

TEST_F(WriteFaults, MarketReport) {
    tryEveryWrite(cliDay("market-report", "market-report", gainsFile));
}

TEST_F(WriteFaults, Rank) {
    tryEveryWrite(cliDay("rank", "rank --top 3", gainsFile));
}

TEST_F(WriteFaults, ScreenSector) {
    tryEveryWrite(cliDay("screen-sector", "screen-sector " + firstGroup(), gainsFile));
}

TEST_F(WriteFaults, Publish) {
    auto publish = [](const fs::path& tree, int seed) {
        return std::string(ORVANE_SERVER) + " publish --synthetic 3 --seed " +
               std::to_string(seed) + " --days-back 1 --jobs 2 --out " + tree.string();
    };
    tryEveryWrite(
        {.name = "publish",
         .start = [publish](const fs::path& tree) { orvane::test::runProgram(publish(tree, 1)); },
         .command = [publish](const fs::path& tree) { return publish(tree, 2); },
         .dayFile = [](const std::string&) { return true; }});
}

TEST_F(WriteFaults, BacktestOut) {
    // The verdict store is left out: a store that cannot be written is a
    // note, not a failure, and the run goes on without it.
    auto backtest = [](const fs::path& out, const orvane::test::ServedTree& day) {
        return std::string(ORVANE_CLI) + " backtest --tree " + day.tree().string() +
               " --jobs 2 --no-store --out " + out.string();
    };
    tryEveryWrite(
        {.name = "backtest --out",
         .start =
             [backtest](const fs::path& out) { orvane::test::runProgram(backtest(out, *dayOne)); },
         .command = [backtest](const fs::path& out) { return backtest(out, *dayTwo); },
         .dayFile = [](const std::string&) { return true; }});
}
