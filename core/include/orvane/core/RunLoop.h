#pragma once
// The headless main-thread dispatcher: a task queue that the thread owning
// the loop drains while it waits for work to finish.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "orvane/core/MainThreadDispatcher.h"

namespace orvane {

class RunLoop final : public MainThreadDispatcher {
  public:
    /// The constructing thread becomes the loop's main thread.
    RunLoop();

    void post(Task task) override;
    void invokeAndWait(Task task) override;
    bool isMainThread() const override;

    /// Runs the queued tasks; waits up to `timeout` for the first one.
    /// Returns how many ran. Only the main thread may call it.
    std::size_t runOnce(std::chrono::milliseconds timeout);
    /// Runs tasks until `done` holds (checked after every task) or the time
    /// limit passes; true when `done` held.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
    /// Runs tasks for the given time.
    void runFor(std::chrono::milliseconds duration);

  private:
    std::thread::id owner_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
};

/// Installs a fresh run loop on the current thread for its lifetime (tests,
/// the command line) and restores the default dispatcher afterwards.
class ScopedRunLoop {
  public:
    ScopedRunLoop();
    ~ScopedRunLoop();
    ScopedRunLoop(const ScopedRunLoop&) = delete;
    ScopedRunLoop& operator=(const ScopedRunLoop&) = delete;
    RunLoop& loop() { return *loop_; }

  private:
    std::shared_ptr<RunLoop> loop_;
};

}  // namespace orvane
