#pragma once
// Process-wide services. Every service is reached as `Type::shared()`. A
// replaceable seam (clock, main-thread dispatcher, workspace, progress panel,
// string table, user notifications, market servers) derives from
// ReplaceableService: `Type::install(service)` replaces it, nullptr restores
// the headless default, and `shared()` hands out the service held by the
// caller, so a later replacement never leaves it dangling.

#include <memory>
#include <mutex>

namespace orvane {

/// One replaceable service: the installed one, else the default.
template <class Service>
class ServiceSlot {
  public:
    explicit ServiceSlot(std::shared_ptr<Service> fallback) : fallback_(std::move(fallback)) {}

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

/// The base of a replaceable seam. `Service::headlessDefault()` makes the
/// default, on the first use of the service.
template <class Service>
class ReplaceableService {
  public:
    static std::shared_ptr<Service> shared() { return slot().get(); }
    /// nullptr restores the headless default.
    static void install(std::shared_ptr<Service> service) { slot().install(std::move(service)); }

  private:
    static ServiceSlot<Service>& slot() {
        static ServiceSlot<Service> s(Service::headlessDefault());
        return s;
    }
};

}  // namespace orvane
