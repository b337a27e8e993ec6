#pragma once
// Turns SIGINT and SIGTERM into a call: the signals are blocked in the
// constructing thread (so construct it before any other thread starts, and
// every later thread inherits the mask) and a watcher thread waits for them.

#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

namespace orvane::server {

class StopSignals {
  public:
    /// `onSignal` runs once, on the watcher thread, at the first signal; later
    /// signals are swallowed until the object ends.
    explicit StopSignals(std::function<void()> onSignal);
    /// Ends the watcher and restores the signal mask of the constructing thread.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    /// The signal that arrived, or 0.
    int received() const { return received_.load(); }

  private:
    void watch();

    std::function<void()> onSignal_;
    std::atomic<bool> done_{false};
    std::atomic<int> received_{0};
    sigset_t previousMask_{};
    std::thread watcher_;
};

}  // namespace orvane::server
