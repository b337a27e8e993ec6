#pragma once
// One stock's daily bars, oldest first, as the publisher imports them, and
// the history text made from them.

#include <string>
#include <vector>

namespace orvane::server {

struct DailyBar {
    std::string date;  // yyyy-MM-dd
    double open = 0, high = 0, low = 0, close = 0, volume = 0;
};

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

/// The history text of the bars: header, then newest day first, prices "%.2f",
/// volume "%.0f".
std::string historyTextOf(const std::vector<DailyBar>& bars);

}  // namespace orvane::server
