#pragma once
// A user's daily data read (one CSV a stock and a stock list), and the
// composite indexes computed from them.

#include <string>
#include <vector>

#include "orvane/publisher/DailySeries.h"
#include "orvane/publisher/ReferenceData.h"

namespace orvane::server {

// Reading the daily data is the market layer's (DailyFolder.h).
using orvane::readDailyFolder;
using orvane::readStockList;

/// The composite indexes of a market: 399001 (the Shenzhen stocks), 399006
/// (the growth board, codes 300 and 301), 510050 (the 50 Shanghai stocks with
/// the largest traded value on the last day) and 510300 (the 300 largest of
/// both exchanges). Indexes without members are left out.
std::vector<CompositeIndex> chooseComposites(const std::vector<StockSeries>& stocks);

/// An index's daily bars: equal-weighted, each day moving by the mean move
/// of the members that traded that day and the day before, from 1000 on the
/// first day; volume is the members' sum.
StockSeries compositeSeries(const CompositeIndex& index, const std::vector<StockSeries>& stocks);

}  // namespace orvane::server
