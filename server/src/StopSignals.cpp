#include "orvane/server/StopSignals.h"

#include <pthread.h>

#include <ctime>

namespace orvane::server {

namespace {

sigset_t stopSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    sigset_t set = stopSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &previousMask_);
    watcher_ = std::thread([this] { watch(); });
}

StopSignals::~StopSignals() {
    done_ = true;
    watcher_.join();
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

void StopSignals::watch() {
    const sigset_t set = stopSignalSet();
    // A short wait so that the destructor is never kept long.
    const timespec wait{0, 100'000'000};
    while (!done_) {
        int sig = sigtimedwait(&set, nullptr, &wait);
        if (sig <= 0 || received_ != 0) continue;
        received_ = sig;
        if (onSignal_) onSignal_();
    }
}

}  // namespace orvane::server
