#include "orvane/market/StockFacts.h"

#include <cmath>

namespace orvane {

bool StockFacts::isStName(std::string_view name) {
    return name.find("ST") != std::string_view::npos;
}

std::optional<double> changePercent(double close, double previousClose) {
    if (!(previousClose > 0) || !std::isfinite(close)) return std::nullopt;
    return (close / previousClose - 1.0) * 100.0;
}

bool closedAtLimitUp(double close, double previousClose, Board board, std::string_view date,
                     bool st) {
    const std::optional<double> limit = dailyLimitOf(board, date, st);
    if (!limit || !(previousClose > 0)) return false;
    constexpr double kCents = 100, kSlack = 1e-7;  // the slack absorbs binary rounding
    const double limitPrice =
        std::floor(previousClose * (1.0 + *limit) * kCents + 0.5 + kSlack) / kCents;
    return close >= limitPrice - kSlack;
}

}  // namespace orvane
