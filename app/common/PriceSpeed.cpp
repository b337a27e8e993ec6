#include "common/PriceSpeed.h"

namespace orvane::app {

double PriceSpeed::record(const std::string& code, double price, TimePoint when) {
    if (!(price > 0)) return 0;
    auto& samples = seen_[code];
    const TimePoint back = when - kSpan;
    // Only the last price at or before five minutes back is still needed of the older ones.
    while (samples.size() >= 2 && samples[1].first <= back) samples.pop_front();
    const double then = samples.empty() ? price : samples.front().second;
    samples.emplace_back(when, price);
    return then > 0 ? (price - then) / then * 100 : 0;
}

}  // namespace orvane::app
