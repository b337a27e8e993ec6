#pragma once
// A stock's days on the market's calendar with each day's price limit, and
// what the limits allow: a purchase at an open, a sale at an open or close.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "PriceDays.h"
#include "orvane/backtest/Backtest.h"

namespace orvane::backtest {

/// A stock ready for the run.
struct StockDays {
    /// The stock as the market gave it; cleared once the run is done.
    MarketStock const* source = nullptr;
    std::string code;
    std::vector<PriceDay> days;
    /// Each day's limit as a share of the close before (0: no limit).
    std::vector<double> limits;
};

struct MarketPrices {
    std::vector<StockDays> stocks;  // as Results::stocks
};

/// The close of the last day before `row` with a trade (0 when none).
double closeBefore(const StockDays& stock, std::size_t row);

/// Whether `price` on day `row` lies at the day's limit up (down).
bool atLimitUpOn(const StockDays& stock, std::size_t row, double price);
bool atLimitDownOn(const StockDays& stock, std::size_t row, double price);

/// Whether the stock can be sold on day `row` at its close (open): it
/// traded, and not at the limit down.
inline bool sellableAtClose(const StockDays& stock, std::size_t row) {
    return stock.days[row].traded && !atLimitDownOn(stock, row, stock.days[row].close);
}
inline bool sellableAtOpen(const StockDays& stock, std::size_t row) {
    return stock.days[row].traded && !atLimitDownOn(stock, row, stock.days[row].open);
}

/// Each day's limit of a stock (board from the code, ST from the name),
/// `dates` the calendar's days as "yyyy-MM-dd".
std::vector<double> dailyLimits(const std::string& code, const std::string& name,
                                const std::vector<PriceDay>& days,
                                const std::vector<std::string>& dates);

}  // namespace orvane::backtest
