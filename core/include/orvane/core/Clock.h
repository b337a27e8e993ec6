#pragma once
// Every "now" in the program comes from the process clock, so tests and the
// command line can fix the present instant.

#include <chrono>
#include <memory>

#include "orvane/core/ReplaceableService.h"

namespace orvane {

using TimePoint = std::chrono::system_clock::time_point;

/// The process clock is `Clock::shared()` (the system clock until one is
/// installed).
class Clock : public ReplaceableService<Clock> {
  public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;

    static std::shared_ptr<Clock> headlessDefault();
};

class SystemClock final : public Clock {
  public:
    TimePoint now() const override { return std::chrono::system_clock::now(); }
};

class FixedClock final : public Clock {
  public:
    explicit FixedClock(TimePoint t) : t_(t) {}
    TimePoint now() const override { return t_; }

  private:
    TimePoint t_;
};

inline TimePoint now() {
    return Clock::shared()->now();
}

}  // namespace orvane
