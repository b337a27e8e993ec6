#pragma once
// The main-thread seam: completion handlers and window updates run on the
// main thread. The desktop application installs its toolkit's dispatcher; the
// command line, the server and the tests use the headless run loop
// (RunLoop.h), which is also the process default: `MainThreadDispatcher::shared()`.

#include <functional>
#include <memory>

#include "orvane/core/ReplaceableService.h"

namespace orvane {

class MainThreadDispatcher : public ReplaceableService<MainThreadDispatcher> {
  public:
    using Task = std::function<void()>;
    virtual ~MainThreadDispatcher() = default;

    /// Queues the task for the main thread and returns at once.
    virtual void post(Task task) = 0;
    /// Runs the task on the main thread and waits until it is done; on the
    /// main thread itself the task runs at once.
    virtual void invokeAndWait(Task task) = 0;
    virtual bool isMainThread() const = 0;

    /// A run loop owned by the process's main thread.
    static std::shared_ptr<MainThreadDispatcher> headlessDefault();
};

inline void postToMainThread(MainThreadDispatcher::Task task) {
    MainThreadDispatcher::shared()->post(std::move(task));
}

}  // namespace orvane
