#pragma once
// What the holdings list shows for one held stock: the figures of its quote
// record (change, percent, the intraday "speed"), the row colour and every
// cell's text, font and colour by column identifier. Pure, so that each rule
// is tested without a window.

#include <string>
#include <string_view>

#include "mainwindow/VerdictDisplay.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

/// The column identifiers the holdings table knows by name; any other
/// identifier shows the record's value under it.
namespace holdingColumns {
inline constexpr const char* STOCK_Code = "STOCK_Code";
inline constexpr const char* pricePercentChanged = "pricePercentChanged";
inline constexpr const char* Price_Changed = "Price_Changed";
inline constexpr const char* speedValue = "speedValue";
inline constexpr const char* STOCK_closePrice = "STOCK_closePrice";
}  // namespace holdingColumns

/// Text shown instead of the name of a holding whose file gives no quote.
inline constexpr const char* kNoQuoteName = "—";
/// Text shown instead of the percent for a stock without a price today.
inline constexpr const char* kSuspendedText = "停 牌";
/// No A-share has ever been priced near this: a price above it is a fault.
inline constexpr float kHighestBelievablePrice = 1e6f;
/// A speed from this value up is shown in red.
inline constexpr double kFastSpeed = 4.0;

/// A row's prices in single precision: c the latest price, y the previous
/// close, l the day's low.
struct HoldingFigures {
    float close = 0, yesClose = 0, low = 0;

    float change() const;
    /// 0 when y is 0 or 0 < c < 0.001.
    float percent() const;
    /// (c − min(l, y)) × 100 / l; 0 when 0 ≤ c < 0.011 or min(l, y) is 0.
    float shownSpeed() const;
    /// (c − m) × 100 / m with m = min(l, y): the list's default order;
    /// 0 when 0 < c < 0.001 or m is 0.
    float orderSpeed() const;
    /// No price today (below 0.001).
    bool suspended() const;
};

HoldingFigures holdingFigures(const StockRecord& record);

/// Whether each price the figures come from (latest, previous close, low)
/// is a plain number from 0 to kHighestBelievablePrice. A quote written while
/// the quote service was down may hold "nan", "-inf" or "-1e308": its row's
/// figures are not shown ("—") and sort below every other.
bool hasBelievablePrices(const StockRecord& record);

/// The row of a holding file that gives no quote (unreadable, empty, not a
/// quote, or the quote of a code the quote service does not know): only its
/// code, so that the user can still see and delete it.
StockRecord holdingWithoutQuote(std::string_view code);
/// Whether a row carries a quote (every row but holdingWithoutQuote's).
bool hasQuote(const StockRecord& record);

/// Red when the change is not negative or the stock has no price, else dark green.
Rgb holdingRowColour(const HoldingFigures& f);

enum class HoldingFont {
    Label,       ///< the label font, 12 points
    BoldSystem,  ///< the bold system font, 12 points
    Table,       ///< the table's own font
};

struct HoldingCell {
    std::string text;
    HoldingFont font = HoldingFont::Label;
    Rgb colour;
    friend bool operator==(const HoldingCell&, const HoldingCell&) = default;
};

/// A row without a quote shows "— (CODE)" and no figures; a row whose
/// figures are not believable shows "—" for each of them.
HoldingCell holdingCell(const StockRecord& record, std::string_view column);

/// A record value as cell text (strings as they are, numbers in short form).
std::string holdingValueText(const StockRecord& record, std::string_view key);

}  // namespace orvane::app
