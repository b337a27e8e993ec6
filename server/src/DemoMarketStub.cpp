// Stands in for the demo market publisher until it is built.

#include <spdlog/spdlog.h>

#include "orvane/server/DemoMarket.h"

namespace orvane::server {

bool ensureDemoTree(const std::filesystem::path& tree) {
    (void)tree;
    spdlog::error("the demo market publisher is not built yet");
    return false;
}

}  // namespace orvane::server
