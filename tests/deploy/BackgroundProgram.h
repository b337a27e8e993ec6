#pragma once
// A program a test runs in the background, such as a server: started with
// the test's environment, stopped with a signal and waited for when the test
// is done with it.

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

class BackgroundProgram {
  public:
    /// Starts `argv` (argv[0] is looked up on PATH unless it holds a '/'); it ends
    /// with the test process at the latest.
    explicit BackgroundProgram(const std::vector<std::string>& argv);
    ~BackgroundProgram();
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    bool started() const { return pid_ > 0; }
    /// Still running: started and not yet ended.
    bool running();
    /// Sends `signal` unless it has ended, then waits for it; its wait status.
    int stop(int signal = SIGTERM);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

/// Waits until something accepts connections on 127.0.0.1:`port`; false when
/// `program` ends first or `timeout` passes.
bool waitUntilListening(int port, BackgroundProgram& program,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace orvane::test
