#pragma once
// A replaceable process-wide service: the platform seams (workspace,
// progress panel...) each keep their installed implementation in one slot,
// falling back to the headless default when nothing is installed.

#include <memory>
#include <mutex>

namespace orvane {

template <class Service>
class ServiceSlot {
  public:
    explicit ServiceSlot(std::shared_ptr<Service> fallback) : fallback_(std::move(fallback)) {}

    /// The installed service, or the default; held by the caller, so a later
    /// replacement never leaves it dangling.
    std::shared_ptr<Service> get() const {
        std::lock_guard lock(mutex_);
        return installed_ ? installed_ : fallback_;
    }
    /// nullptr restores the default.
    void install(std::shared_ptr<Service> service) {
        std::lock_guard lock(mutex_);
        installed_ = std::move(service);
    }

  private:
    mutable std::mutex mutex_;
    std::shared_ptr<Service> fallback_;
    std::shared_ptr<Service> installed_;
};

}  // namespace orvane
