#include "orvane/publisher/DemoMarket.h"

#include <spdlog/spdlog.h>

#include "orvane/core/Clock.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/publisher/Publisher.h"
#include "orvane/publisher/SyntheticMarket.h"

namespace orvane::server {

namespace {
constexpr int kDemoStocks = 300;
constexpr std::uint64_t kDemoSeed = 1;
}  // namespace

bool ensureDemoTree(const std::filesystem::path& tree) {
    std::error_code ec;
    if (std::filesystem::exists(
            tree /
                std::filesystem::path(std::string(serverpath::kUpdateConfigFile)).relative_path(),
            ec))
        return true;
    spdlog::warn("publishing the demo market into {} (once)", tree.string());
    const auto level = spdlog::get_level();
    spdlog::set_level(spdlog::level::warn);
    PublishOptions options;
    options.version = toLocal(now());
    const PublishReport report = publishMarket(
        makeSyntheticMarket(kDemoStocks, kDemoSeed, lastWeekdayBefore(toLocal(now()))), tree,
        options);
    spdlog::set_level(level);
    if (!report.ok) spdlog::error("the demo market could not be published: {}", report.error);
    return report.ok;
}

}  // namespace orvane::server
