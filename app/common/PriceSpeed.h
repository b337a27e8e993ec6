#pragma once
// 涨速: how far a stock's price moved over the last five minutes, in percent
// of the price then. The prices are the ones the window has seen: each
// refresh records them, and the price five minutes back is the last one seen
// at or before that moment (the oldest one kept while the window has been
// open for less).

#include <chrono>
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>

#include "orvane/core/Clock.h"

namespace orvane::app {

class PriceSpeed {
  public:
    static constexpr std::chrono::minutes kSpan{5};

    /// Records `price` seen at `when` (times in order for each code) and
    /// returns the speed then; 0 without an earlier price or for no price.
    double record(const std::string& code, double price, TimePoint when);

  private:
    std::unordered_map<std::string, std::deque<std::pair<TimePoint, double>>> seen_;
};

}  // namespace orvane::app
