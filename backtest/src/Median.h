#pragma once
// The median of a group's returns, exact and in about two passes over them.

#include <vector>

namespace orvane::backtest {

/// The middle value of the returns (of an even count, the mean of the middle
/// two), reordering them; never NaN nor -0 among them.
double medianOf(std::vector<float>& returns);

}  // namespace orvane::backtest
