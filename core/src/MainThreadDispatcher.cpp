#include "orvane/core/MainThreadDispatcher.h"

#include <mutex>

#include "orvane/core/RunLoop.h"

namespace orvane {

namespace {

std::mutex& dispatcherMutex() {
    static std::mutex m;
    return m;
}

std::shared_ptr<MainThreadDispatcher>& installed() {
    static std::shared_ptr<MainThreadDispatcher> d;
    return d;
}

// Constructed during static initialisation, so on the process's main thread.
const std::shared_ptr<MainThreadDispatcher> gDefaultLoop = std::make_shared<RunLoop>();

}  // namespace

std::shared_ptr<MainThreadDispatcher> mainThreadDispatcher() {
    std::lock_guard lock(dispatcherMutex());
    auto& d = installed();
    return d ? d : gDefaultLoop;
}

void setMainThreadDispatcher(std::shared_ptr<MainThreadDispatcher> dispatcher) {
    std::lock_guard lock(dispatcherMutex());
    installed() = std::move(dispatcher);
}

}  // namespace orvane
