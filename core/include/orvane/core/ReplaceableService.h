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

/// The base of a replaceable seam. `Service::headlessDefault()` makes the
/// default, on the first use of the service.
template <class Service>
class ReplaceableService {
  public:
    /// The installed service, else the default.
    static std::shared_ptr<Service> shared() {
        Slot& s = slot();
        std::lock_guard lock(s.mutex);
        return s.installed ? s.installed : s.fallback;
    }
    /// nullptr restores the headless default.
    static void install(std::shared_ptr<Service> service) {
        Slot& s = slot();
        std::lock_guard lock(s.mutex);
        s.installed = std::move(service);
    }

  private:
    struct Slot {
        std::mutex mutex;
        std::shared_ptr<Service> fallback = Service::headlessDefault();
        std::shared_ptr<Service> installed;
    };
    static Slot& slot() {
        static Slot s;
        return s;
    }
};

}  // namespace orvane
