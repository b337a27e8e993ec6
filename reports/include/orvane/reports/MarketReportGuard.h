#pragma once
// One market-report run at a time. The start-up run, the schedule and the
// recompute button each start one; a run asked for while another is going is
// skipped, not queued: the run in progress downloads the same lists and
// produces the same reports moments later, and a queue would only repeat it.

#include <atomic>
#include <functional>

namespace orvane {

class MarketReportGuard {
  public:
    /// The guard all market-report runs of the process share.
    static MarketReportGuard& shared();

    /// Runs `report` unless a run is going; false when it was skipped.
    bool runUnlessBusy(const std::function<void()>& report);
    bool busy() const { return running_.load(); }

  private:
    std::atomic<bool> running_{false};
};

}  // namespace orvane
