// A published tree is nothing but static files: deployed to a plain web
// server (Debian's nginx) it serves the command line exactly as the data
// server does. The quotes come from orvane-server in both runs, as they would
// in a deployment (any compatible quote service will do).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <optional>
#include <regex>

#include "BackgroundProgram.h"
#include "LocalHttpServer.h"
#include "NginxSite.h"
#include "RunProgram.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"

using namespace orvane;
using namespace orvane::test;
namespace fs = std::filesystem;

namespace {

constexpr fs::perms kOpenToAll = fs::perms::owner_all | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec;

/// The market report's clock time ("2026-12-08 14.16.37") as "<time>": the
/// two runs of a command may lie a second apart.
std::string withoutClockTime(const std::string& text) {
    static const std::regex clock(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2})");
    return std::regex_replace(text, clock, "<time>");
}

/// Every file below `folder`: its path relative to the folder, and its bytes
/// (the report's clock time left out).
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] =
                withoutClockTime(readFile(entry.path()).value_or("?"));
    return files;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

class StaticHosting : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        nginx = nginxProgram();
        if (!nginx) return;
        dir = new TempDataDir;
        fs::permissions(dir->path(), kOpenToAll);
        tree = dir->path() / "tree";
        deployed = dir->path() / "www" / "orvane";
        const ProgramRun published =
            runProgram(std::string(ORVANE_SERVER_PROGRAM) +
                           " publish --synthetic 40 --seed 11 --out " + tree.string(),
                       true);
        ASSERT_EQ(published.status, 0) << published.out;
        fs::create_directories(dir->path() / "www");
        fs::permissions(dir->path() / "www", kOpenToAll);
        ASSERT_TRUE(deployTree(tree, deployed));

        servePort = refusedPort();
        serve = new BackgroundProgram({ORVANE_SERVER_PROGRAM, "-q", "serve", "--tree",
                                       tree.string(), "--port", std::to_string(servePort)});
        ASSERT_TRUE(waitUntilListening(servePort, *serve)) << "orvane-server serve did not start";
        web = new NginxServer(*nginx,
                              NginxSite{dir->path() / "nginx", deployed, "/orvane", refusedPort()});
        ASSERT_TRUE(web->ready()) << "nginx did not start:\n" << web->errorLog();
        ready = true;
    }
    static void TearDownTestSuite() {
        delete web;
        delete serve;
        delete dir;
    }
    void SetUp() override {
        if (!nginx) GTEST_SKIP() << "nginx is not installed (scripts/bootstrap installs it)";
        ASSERT_TRUE(ready) << "the tree was not published or the servers did not start";
    }

    static std::string serveUrl() {
        return "http://127.0.0.1:" + std::to_string(servePort) + "/orvane";
    }

    /// `orvane ARGS` as a user runs it with its own data folder, reading the
    /// data from `dataServer` and the quotes from orvane-server.
    static CommandRun client(const std::string& dataServer, const fs::path& dataDir,
                             const std::string& args) {
        const fs::path err = dir->path() / "stderr.txt";
        const ProgramRun run =
            runProgram("(ORVANE_DATA_DIR=" + dataDir.string() + " ORVANE_SERVER=" + dataServer +
                       " ORVANE_QUOTE_SERVER=http://127.0.0.1:" + std::to_string(servePort) + "/ " +
                       ORVANE_CLI_PROGRAM + " " + args + " 2>" + err.string() + ")");
        return {run.status, run.out, readFile(err).value_or("")};
    }

    static inline std::optional<fs::path> nginx;
    static inline bool ready = false;
    static inline TempDataDir* dir = nullptr;
    static inline fs::path tree, deployed;
    static inline int servePort = 0;
    static inline BackgroundProgram* serve = nullptr;
    static inline NginxServer* web = nullptr;
};

}  // namespace

TEST_F(StaticHosting, TheCommandsReadTheStaticTreeAsTheyReadTheDataServer) {
    std::string code;
    for (const auto& entry : fs::directory_iterator(tree / "const/hisdata/retdata"))
        if (code.empty() || entry.path().stem().string() < code)
            code = entry.path().stem().string();
    ASSERT_EQ(code.size(), 6u);

    // Each command with what it must end with: a check that both runs did
    // their work, not merely failed alike.
    const std::vector<std::pair<std::string, int>> commands = {
        {"update-reference", 0}, {"update-reference", 0}, {"fetch " + code + " --days 3", 0},
        {"fetch 999999", 1},     {"market-report", 0},
    };
    const fs::path fromNginx = dir->path() / "client-nginx";
    const fs::path fromServe = dir->path() / "client-serve";
    for (const auto& [args, status] : commands) {
        const CommandRun a = client(web->url(), fromNginx, args);
        const CommandRun b = client(serveUrl(), fromServe, args);
        EXPECT_EQ(WEXITSTATUS(a.status), status) << args << "\n" << a.err;
        EXPECT_EQ(a.status, b.status) << args;
        EXPECT_EQ(withoutClockTime(a.out), withoutClockTime(b.out)) << args;
        // Messages name the server they asked.
        EXPECT_EQ(replaced(a.err, web->url(), serveUrl()), b.err) << args;
    }
    // What the commands installed and wrote: the reference data, the gain
    // lists and the sector reports.
    const auto installed = filesBelow(fromNginx);
    EXPECT_GT(installed.size(), 10u);
    EXPECT_TRUE(installed == filesBelow(fromServe));
}

TEST_F(StaticHosting, TheBacktestOverTheDeployedCopyMatchesTheOriginal) {
    const auto backtest = [](const fs::path& over, const fs::path& out) {
        return runProgram(std::string(ORVANE_CLI_PROGRAM) + " backtest --tree " + over.string() +
                          " --horizons 5,10 --out " + out.string());
    };
    const fs::path copyOut = dir->path() / "backtest-copy";
    const fs::path originalOut = dir->path() / "backtest-original";
    const ProgramRun overCopy = backtest(deployed, copyOut);
    const ProgramRun overOriginal = backtest(tree, originalOut);
    ASSERT_EQ(overCopy.status, 0);
    EXPECT_EQ(overCopy.out, overOriginal.out);
    EXPECT_NE(overCopy.out.find("verdicts of 40 stocks"), std::string::npos) << overCopy.out;
    const auto written = filesBelow(copyOut);
    EXPECT_EQ(written.size(), 3u);
    EXPECT_TRUE(written == filesBelow(originalOut));
}
