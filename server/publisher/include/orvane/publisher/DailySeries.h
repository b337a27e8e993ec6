#pragma once
// One stock's daily bars, oldest first, as the publisher imports them, and
// the history text made from them (the market layer's types).

#include "orvane/market/CsvHistory.h"
#include "orvane/market/DailyFolder.h"

namespace orvane::server {

using orvane::DailyBar;
using orvane::historyTextOf;
using orvane::ListedStock;
using orvane::StockSeries;

}  // namespace orvane::server
