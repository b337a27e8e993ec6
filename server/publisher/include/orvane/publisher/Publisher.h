#pragma once
// Publishing a market into the data server's tree: every stock's history and
// result files and quote copy, the day's gain and score lists, and the
// reference archive with its version. The tree is built beside the old one
// and swapped in at the end, so a server never serves half a day.

#include <filesystem>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "orvane/core/LocalTime.h"
#include "orvane/publisher/DailySeries.h"

namespace orvane::server {

struct PublishOptions {
    int daysBack = 98;
    int jobs = 0;  // 0: one per processor
    // Publish the histories as traded too (const/hisdata/stockdata_raw/),
    // when the stocks' bars were adjusted.
    bool tradedHistories = false;
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
    /// Staging folders of killed publishes, removed before this one.
    std::vector<std::filesystem::path> staleStagingRemoved;
};

/// Publishes the stocks (composite indexes are added) below `tree`.
PublishReport publishMarket(std::vector<StockSeries> stocks, const std::filesystem::path& tree,
                            const PublishOptions& options);

}  // namespace orvane::server
