#pragma once
// Test helpers: a throw-away data directory and a fixed process clock.

#include <filesystem>
#include <memory>

#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"

namespace orvane::test {

/// Points $ORVANE_DATA_DIR at a fresh empty folder for the test's lifetime.
class TempDataDir {
  public:
    TempDataDir();
    ~TempDataDir();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

/// Fixes the process clock at a local wall-clock time for the test's lifetime.
class FixedNow {
  public:
    FixedNow(int y, int mo, int d, int h = 0, int mi = 0, int s = 0);
    ~FixedNow();
};

/// The shared market data folder, or empty when it is absent.
std::filesystem::path sharedMarketDir();

}  // namespace orvane::test
