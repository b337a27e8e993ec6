#include "orvane/publisher/DemoMarket.h"

#include <spdlog/spdlog.h>

#include <tuple>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/market/ReferenceUpdate.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/market/TradingCalendar.h"
#include "orvane/publisher/Publisher.h"
#include "orvane/publisher/SyntheticMarket.h"

namespace orvane::server {

namespace {
constexpr int kDemoStocks = 300;
constexpr std::uint64_t kDemoSeed = 1;
}  // namespace

std::optional<LocalDateTime> demoTreeLastDay(const std::filesystem::path& tree) {
    const auto text = readFile(
        tree / std::filesystem::path(std::string(serverpath::kUpdateConfigFile)).relative_path());
    const auto version = publishedReferenceVersion(text.value_or(""));
    // The demo market ends on the last trading day before it was published.
    const auto published = version ? parseDateTime(*version) : std::nullopt;
    if (!published) return std::nullopt;
    return lastTradingDayBefore(*published);
}

bool ensureDemoTree(const std::filesystem::path& tree) {
    const LocalDateTime lastDay = lastTradingDayBefore(toLocal(now()));
    const auto treeDay = demoTreeLastDay(tree);
    auto dayOf = [](const LocalDateTime& t) { return std::tuple(t.year, t.month, t.day); };
    // A tree another version of the program published may hold its files in
    // other units (quote copies in lots): it is published again.
    const bool sameLayout = readFile(tree / kDemoTreeLayoutFile) == kDemoTreeLayout;
    if (treeDay && sameLayout && dayOf(*treeDay) >= dayOf(lastDay)) return true;
    if (treeDay && !sameLayout)
        spdlog::warn("the demo market in {} was laid out by another version: publishing it again",
                     tree.string());
    else if (treeDay)
        spdlog::warn("the demo market ends on {}: publishing it again up to {}",
                     formatDate(*treeDay), formatDate(lastDay));
    else
        spdlog::warn("publishing the demo market into {}", tree.string());
    const auto level = spdlog::get_level();
    spdlog::set_level(spdlog::level::warn);
    PublishOptions options;
    options.version = toLocal(now());
    const PublishReport report =
        publishMarket(makeSyntheticMarket(kDemoStocks, kDemoSeed, lastDay), tree, options);
    spdlog::set_level(level);
    if (!report.ok) {
        spdlog::error("the demo market could not be published: {}", report.error);
        return false;
    }
    if (!writeFileAtomically(tree / kDemoTreeLayoutFile, kDemoTreeLayout))
        spdlog::warn("the demo market's layout mark could not be written into {}", tree.string());
    return true;
}

}  // namespace orvane::server
