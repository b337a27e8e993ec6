#pragma once
// One stock's daily bars, oldest first, as the publisher imports them, and
// the history text made from them.

#include <string>
#include <vector>

#include "orvane/market/CsvHistory.h"

namespace orvane::server {

using orvane::DailyBar;
using orvane::historyTextOf;

struct ListedStock {
    std::string code;
    std::string name;      // short Chinese name, UTF-8
    std::string industry;  // sector group
    std::string pinyin;    // initials when the list gives them
};

struct StockSeries {
    ListedStock listing;
    std::vector<DailyBar> bars;  // oldest first
};

}  // namespace orvane::server
