#include "orvane/httpserver/StopSignals.h"

#include <pthread.h>
#include <spdlog/spdlog.h>

#include <ctime>
#include <system_error>

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
    try {
        watcher_ = std::thread([this] { watch(); });
    } catch (const std::system_error& e) {
        // Without a watcher the signals keep their default action.
        spdlog::error("cannot watch for SIGINT and SIGTERM: {}", e.what());
        pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
    }
}

StopSignals::~StopSignals() {
    if (!watcher_.joinable()) return;
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
