#pragma once
// Every "now" in the program comes from the process clock, so tests and the
// command line can fix the present instant.

#include <chrono>
#include <memory>

namespace orvane {

using TimePoint = std::chrono::system_clock::time_point;

class Clock {
  public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
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

/// The process clock (the system clock until replaced).
const Clock& processClock();
/// Replaces the process clock; nullptr restores the system clock.
void setProcessClock(std::shared_ptr<const Clock> clock);
inline TimePoint now() {
    return processClock().now();
}

}  // namespace orvane
