#pragma once
// The holdings list's two orders: after every rebuild by speed, greatest
// first; on a click on a column by that column, the direction alternating
// with every click (the first click sorts descending) and shared by all
// columns.

#include <string_view>
#include <vector>

#include "holdings/HoldingProfit.h"
#include "lists/RowCell.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

/// The held stocks' quote records, in the order shown.
using HoldingList = std::vector<StockRecord>;

/// By the default-order speed, greatest first; equal speeds keep their order.
void sortHoldingsBySpeed(HoldingList& rows);

/// Sorts ascending by the clicked column ("pricePercentChanged" and
/// "Price_Changed" by percent, "STOCK_closePrice" by price, "speedValue" by
/// the shown speed, any other column by its values compared case-insensitively
/// in the Chinese order; a position's column by its figure, holdings without
/// one below the others); keeps that order when `sortAscending` is set and
/// reverses it otherwise; then inverts `sortAscending`. Returns the indicator
/// the column shows.
SortIndicator sortHoldingsByColumn(HoldingList& rows, std::string_view column, bool& sortAscending,
                                   const Positions& positions = {});

}  // namespace orvane::app
