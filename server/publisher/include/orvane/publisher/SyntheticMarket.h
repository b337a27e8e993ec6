#pragma once
// The demo market: a deterministic set of made-up stocks whose price paths
// are shaped so that every verdict occurs on the last day or the days before
// it (rising, falling, sideways, unclear, no trend, accelerating rise,
// breakthrough of the key point, model B).

#include <cstdint>
#include <vector>

#include "orvane/core/LocalTime.h"
#include "orvane/publisher/DailySeries.h"

namespace orvane::server {

/// `count` stocks over `days` trading days of the exchanges' calendar
/// (TradingCalendar.h) ending on `lastDay`.
std::vector<StockSeries> makeSyntheticMarket(int count, std::uint64_t seed,
                                             const LocalDateTime& lastDay, int days = 400);

}  // namespace orvane::server
