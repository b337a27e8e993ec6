#include "orvane/core/MainThreadDispatcher.h"

#include "orvane/core/RunLoop.h"

namespace orvane {

std::shared_ptr<MainThreadDispatcher> MainThreadDispatcher::headlessDefault() {
    return std::make_shared<RunLoop>();
}

namespace {
// Made during static initialisation, so on the process's main thread.
[[maybe_unused]] const bool gDefaultLoopMade = (MainThreadDispatcher::shared(), true);
}  // namespace

}  // namespace orvane
