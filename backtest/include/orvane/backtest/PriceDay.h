#pragma once
// A stock's day as the back-test reads it from its history text: the prices
// its entries, exits and limits need, placed on the market's calendar.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::backtest {

struct PriceDay {
    std::int32_t date = 0;  // yyyymmdd
    std::int32_t day = 0;   // index of the date in the market's calendar
    bool traded = false;    // a volume above 0 and real prices
    double open = 0, low = 0, close = 0;
};

/// A stock's days, or why its history gives none.
struct PriceRead {
    std::vector<PriceDay> days;  // oldest first
    std::string error;           // "line N: ..." when the text cannot be used
};

}  // namespace orvane::backtest
