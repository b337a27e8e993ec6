#pragma once
// A small made-up market published into a served tree, as the demo server
// publishes its own: for tests of the clients (the command line, the app)
// that need every file of the server.

#include <vector>

#include "ServedTree.h"
#include "orvane/core/LocalTime.h"
#include "orvane/publisher/SyntheticMarket.h"

namespace orvane::test {

/// Publishes `stocks` made-up stocks over `days` trading days ending on
/// `lastDay` into the tree; the market, or nothing (empty) on failure.
std::vector<server::StockSeries> publishSyntheticMarket(const ServedTree& served, int stocks,
                                                        const LocalDateTime& lastDay,
                                                        int days = 320, int daysBack = 6);

}  // namespace orvane::test
