#include "orvane/core/Clock.h"

#include <atomic>

namespace orvane {

namespace {
std::shared_ptr<const Clock>& slot() {
    static std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
    return clock;
}
}  // namespace

const Clock& processClock() {
    return *std::atomic_load(&slot());
}

void setProcessClock(std::shared_ptr<const Clock> clock) {
    if (!clock) clock = std::make_shared<SystemClock>();
    std::atomic_store(&slot(), std::move(clock));
}

}  // namespace orvane
