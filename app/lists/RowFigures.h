#pragma once
// The figures of one stock row, from its record: c the latest price
// (STOCK_closePrice), y the previous close, l the day's low, all single
// precision and compared against double thresholds. A stock whose price is
// below 0.001 is suspended: it has no price today.

#include <string>

#include "mainwindow/VerdictDisplay.h"
#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

struct RowFigures {
    float close = 0, yesClose = 0, low = 0;

    static RowFigures of(const StockRecord& row);

    bool suspended() const;
    /// c - y.
    float change() const;
    /// (c - y) * 100 / y; 0 when y is 0 or 0 < c < 0.001.
    float percent() const;
    /// m = min(l, y).
    float jumpBase() const;
    /// The jump above the lower of the day's low and the previous close:
    /// (c - m) * 100 / m; 0 when 0 < c < 0.001 or m is 0.
    float jump() const;
    /// The speed the holdings list shows: (c - m) * 100 / l; 0 when
    /// 0 <= c < 0.011 or m is 0.
    float speedShown() const;
    /// Red when the stock did not fall (or has no price), else dark green.
    Rgb rowColour() const;
};

/// The text a list shows for a value under a column of its own: strings as
/// they are, numbers in their usual form, anything else empty.
std::string valueText(const Value* value);

/// "%@ (%@)" of a name and a code.
std::string nameAndCode(const std::string& name, const std::string& code);

}  // namespace orvane::app
