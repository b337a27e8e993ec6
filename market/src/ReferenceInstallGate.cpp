#include "orvane/market/ReferenceInstallGate.h"

namespace orvane {

ReferenceInstallGate& ReferenceInstallGate::shared() {
    static ReferenceInstallGate gate;
    return gate;
}

void ReferenceInstallGate::begin() {
    std::lock_guard lock(mutex_);
    ++pending_;
}

void ReferenceInstallGate::end() {
    {
        std::lock_guard lock(mutex_);
        if (pending_ > 0) --pending_;
        if (pending_ > 0) return;
    }
    settled_.notify_all();
}

bool ReferenceInstallGate::pending() const {
    std::lock_guard lock(mutex_);
    return pending_ > 0;
}

bool ReferenceInstallGate::waitUntilSettled(std::stop_token stop) const {
    std::unique_lock lock(mutex_);
    return settled_.wait(lock, stop, [this] { return pending_ == 0; });
}

}  // namespace orvane
