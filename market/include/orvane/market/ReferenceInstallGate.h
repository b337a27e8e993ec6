#pragma once
// The reference data while a newer archive is on its way: from the moment a
// reference update starts downloading until its archive is installed (or
// the download or installation failed), the code table and the sector
// groups are not yet what the server publishes. Work that must read them as
// published (the market report, whose sectors would all be empty on a fresh
// data folder) waits at this gate first.

#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace orvane {

class ReferenceInstallGate {
  public:
    /// The process's gate (fixed).
    static ReferenceInstallGate& shared();

    /// An archive download begins: the gate closes until its end().
    void begin();
    /// That archive was installed, or will not be: once every begun
    /// installation has ended, the gate opens and the waiters go on.
    void end();
    /// Whether an installation is on its way.
    bool pending() const;
    /// Waits until no installation is on its way; false when `stop` was
    /// requested first.
    bool waitUntilSettled(std::stop_token stop = {}) const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable_any settled_;
    int pending_ = 0;
};

}  // namespace orvane
