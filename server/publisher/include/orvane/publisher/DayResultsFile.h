#pragma once
// A stock's line of the day's results file (market's DayResults.h) from its
// newest day's verdict.

#include "orvane/market/DailyFolder.h"
#include "orvane/market/DayResults.h"
#include "orvane/publisher/DayVerdicts.h"

namespace orvane::server {

DayResult dayResultOf(const ListedStock& stock, const DayVerdict& day);

}  // namespace orvane::server
