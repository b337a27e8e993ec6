// orvane-server serve as a process: it announces its address, logs one line
// a request and ends cleanly on SIGTERM and SIGINT.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "ServerFixture.h"

namespace {

using Clock = std::chrono::steady_clock;

/// orvane-server with its stderr on a pipe.
class ServerProcess {
  public:
    explicit ServerProcess(const std::vector<std::string>& args) {
        // Built before fork: the child only makes async-signal-safe calls.
        std::vector<char*> argv{const_cast<char*>(ORVANE_SERVER)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDERR_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            ::execv(ORVANE_SERVER, argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        err_ = fds[0];
    }
    ~ServerProcess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (err_ >= 0) ::close(err_);
    }

    /// Reads stderr until `pattern` matches or the time is up; the match.
    std::smatch waitFor(const std::regex& pattern,
                        std::chrono::seconds limit = std::chrono::seconds(10)) {
        auto end = Clock::now() + limit;
        std::smatch m;
        while (Clock::now() < end) {
            if (std::regex_search(output_, m, pattern)) return m;
            if (!readSome(end)) break;
        }
        std::regex_search(output_, m, pattern);
        return m;
    }

    /// The exit status after the process ends, or -1 when it does not end in time.
    int waitExit(std::chrono::seconds limit = std::chrono::seconds(10)) {
        auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                while (readSome(Clock::now() + std::chrono::milliseconds(200))) {
                }
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            readSome(Clock::now() + std::chrono::milliseconds(50));
        }
        return -1;
    }

    void signal(int sig) const { ::kill(pid_, sig); }
    const std::string& output() const { return output_; }

  private:
    bool readSome(Clock::time_point end) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        pollfd p{err_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(std::max<long>(0, left.count()))) <= 0) return false;
        char buf[4096];
        ssize_t n = ::read(err_, buf, sizeof buf);
        if (n <= 0) return false;
        output_.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int err_ = -1;
    bool exited_ = false;
    std::string output_;
};

}  // namespace

TEST(ServeCommand, ServesLogsAndStopsCleanlyOnSigtermAndSigint) {
    orvane::test::SampleTree sample;
    for (int sig : {SIGTERM, SIGINT}) {
        ServerProcess server({"serve", "--tree", sample.tree().string(), "--port", "0"});
        std::smatch announced =
            server.waitFor(std::regex(R"(at http://127\.0\.0\.1:(\d+)/orvane)"));
        ASSERT_FALSE(announced.empty()) << server.output();
        int port = std::stoi(announced[1]);

        httplib::Client client("127.0.0.1", port);
        auto res = client.Get("/orvane/const/hisdata/retdata/600000.txt");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200);
        EXPECT_FALSE(
            server
                .waitFor(std::regex(
                    R"(127\.0\.0\.1 "GET /orvane/const/hisdata/retdata/600000\.txt" 200 32 B)"))
                .empty())
            << server.output();

        server.signal(sig);
        EXPECT_EQ(server.waitExit(), 0) << server.output();
        EXPECT_NE(server.output().find(sig == SIGINT ? "stopped on SIGINT" : "stopped on SIGTERM"),
                  std::string::npos)
            << server.output();
        EXPECT_FALSE(httplib::Client("127.0.0.1", port).Get("/orvane/"));
    }
}
