#include "TempDataDir.h"

#include <cstdlib>
#include <random>
#include <string>

namespace orvane::test {

TempDataDir::TempDataDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("orvane-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
    setenv("ORVANE_DATA_DIR", path_.c_str(), 1);
}

TempDataDir::~TempDataDir() {
    unsetenv("ORVANE_DATA_DIR");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

FixedNow::FixedNow(int y, int mo, int d, int h, int mi, int s) {
    Clock::install(std::make_shared<FixedClock>(fromLocal(LocalDateTime{y, mo, d, h, mi, s, 0})));
}

FixedNow::~FixedNow() {
    Clock::install(nullptr);
}

std::filesystem::path sharedMarketDir() {
    const char* src = std::getenv("ORVANE_SOURCE_DIR");
    std::filesystem::path base = src ? src : ".";
    auto dir = base / ".." / "shared" / "market";
    std::error_code ec;
    if (std::filesystem::is_directory(dir / "daily", ec))
        return std::filesystem::canonical(dir, ec);
    return {};
}

}  // namespace orvane::test
