#pragma once
// A holding's position (cost price and quantity, in lots of 100 shares) and
// what it is worth at the latest price: market value, floating profit and
// its ratio to the cost, and the totals of the holdings' line. Pure
// arithmetic, tested with figures worked out by hand.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "holdings/HoldingRows.h"

namespace orvane::app {

/// Shares are bought in lots of this many.
inline constexpr std::int64_t kLotSize = 100;

struct Position {
    double cost = 0;          ///< the price paid a share, in yuan
    std::int64_t shares = 0;  ///< a whole number of lots
    friend bool operator==(const Position&, const Position&) = default;
};

/// The positions by code; a holding without one shows "—" in its figures.
using Positions = std::map<std::string, Position, std::less<>>;

/// Why a position cannot be kept (a cost that is no number, or not above
/// 0; a quantity not a whole number of lots, or none), or nothing.
std::optional<std::string> refusalOfPosition(const std::string& costText, std::int64_t shares);

/// price × shares.
double marketValue(double price, const Position& p);
/// (price − cost) × shares.
double floatingProfit(double price, const Position& p);
/// (price − cost) × 100 / cost, in percent.
double profitPercent(double price, const Position& p);

/// The price a holding is valued at: the latest, or the previous close for
/// a stock without a price today; nothing when its quote cannot be true.
std::optional<double> valuationPrice(const StockRecord& record);

struct PositionTotals {
    double value = 0;   ///< Σ market value
    double profit = 0;  ///< Σ floating profit
    double paid = 0;    ///< Σ cost × shares
    int counted = 0;    ///< holdings with a position and a price
    /// profit × 100 / paid; nothing when nothing was paid.
    std::optional<double> percent() const;
};

/// The totals of the holdings that have a position and a price.
PositionTotals totalOf(const std::vector<StockRecord>& rows, const Positions& positions);

/// The holdings table's columns of a position.
namespace positionColumns {
inline constexpr const char* cost = "positionCost";
inline constexpr const char* shares = "positionShares";
inline constexpr const char* value = "marketValue";
inline constexpr const char* profit = "floatingProfit";
inline constexpr const char* percent = "profitPercent";
}  // namespace positionColumns

bool isPositionColumn(std::string_view column);
/// A position column's cell: "—" without a position or a price, never 0;
/// the profit and its ratio red above the cost, dark green below; in the
/// table's own font, so that the five columns fit beside the quote's.
HoldingCell positionCell(const StockRecord& record, const Position* position,
                         std::string_view column);
/// The figure a position column sorts by; nothing where the cell shows "—".
std::optional<double> positionFigure(const StockRecord& record, const Position* position,
                                     std::string_view column);

}  // namespace orvane::app
