#pragma once
// Publishing a market into the data server's tree: every stock's history and
// result files and quote copy, the day's gain and score lists, and the
// reference archive with its version. The tree is built beside the old one
// and swapped in at the end, so a server never serves half a day.

#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "orvane/core/LocalTime.h"
#include "orvane/market/MarketAdjustment.h"
#include "orvane/publisher/DailySeries.h"

namespace orvane::server {

struct PublishOptions {
    int daysBack = 98;
    int jobs = 0;  // 0: one per processor
    // Adjust the prices forward from these sources before anything is made
    // of them, and publish the histories as traded beside the adjusted ones
    // (const/hisdata/stockdata_raw/): each is written as its stock is
    // adjusted, so that no second copy of the market is kept. Without any
    // source of ex-rights days for any stock the publish fails.
    std::optional<AdjustmentSources> adjustForward;
    LocalDateTime version;  // the reference data's version
    std::function<void(std::size_t done, std::size_t total)> progress;
    /// Asked to stop, the publish ends between stocks, removes its staging
    /// folder and leaves the tree as it was (the report says "stopped").
    std::stop_token stop;
};

struct PublishReport {
    bool ok = false;
    bool stopped = false;
    std::string error;
    std::size_t stocks = 0;
    std::size_t files = 0;
    std::size_t modelBDays = 0;
    MarketAdjustmentSummary adjustment;  // with `adjustForward`
    /// Staging folders of killed publishes, removed before this one.
    std::vector<std::filesystem::path> staleStagingRemoved;
};

/// Publishes the stocks (composite indexes are added) below `tree`.
PublishReport publishMarket(std::vector<StockSeries> stocks, const std::filesystem::path& tree,
                            const PublishOptions& options);

}  // namespace orvane::server
