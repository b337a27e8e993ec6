#include "orvane/reports/MarketReportGuard.h"

namespace orvane {

MarketReportGuard& MarketReportGuard::shared() {
    static MarketReportGuard guard;
    return guard;
}

bool MarketReportGuard::runUnlessBusy(const std::function<void()>& report) {
    bool expected = false;
    if (!running_.compare_exchange_strong(expected, true)) return false;
    struct Release {
        std::atomic<bool>& flag;
        ~Release() { flag.store(false); }
    } release{running_};
    report();
    return true;
}

}  // namespace orvane
