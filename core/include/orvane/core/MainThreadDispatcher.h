#pragma once
// The main-thread seam: completion handlers and window updates run on the
// main thread. The desktop application installs its toolkit's dispatcher; the
// command line, the server and the tests use the headless run loop
// (RunLoop.h), which is also the process default.

#include <functional>
#include <memory>

namespace orvane {

class MainThreadDispatcher {
  public:
    using Task = std::function<void()>;
    virtual ~MainThreadDispatcher() = default;

    /// Queues the task for the main thread and returns at once.
    virtual void post(Task task) = 0;
    /// Runs the task on the main thread and waits until it is done; on the
    /// main thread itself the task runs at once.
    virtual void invokeAndWait(Task task) = 0;
    virtual bool isMainThread() const = 0;
};

/// The installed dispatcher (the default run loop until one is installed).
/// Held by the caller, so a later replacement never leaves it dangling.
std::shared_ptr<MainThreadDispatcher> mainThreadDispatcher();
/// Installs a dispatcher; nullptr restores the default run loop.
void setMainThreadDispatcher(std::shared_ptr<MainThreadDispatcher> dispatcher);

inline void postToMainThread(MainThreadDispatcher::Task task) {
    mainThreadDispatcher()->post(std::move(task));
}

}  // namespace orvane
