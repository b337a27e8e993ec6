#pragma once
// The single-stock history tab's rules that need no window: the caption,
// the months pop-up's day counts, and each cell's text, colour and font.

#include <optional>
#include <string>
#include <string_view>

#include "mainwindow/VerdictDisplay.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

/// A month counts as 22 trading days.
inline constexpr int kTradeDaysPerMonth = 22;

/// Item i of the months pop-up means i + 1 months.
int monthsForItem(int itemIndex);
/// The days asked for with item i: 22 × i + 22.
int passDaysForItem(int itemIndex);

/// "个股历史统计信息" unless the code field holds exactly 6 characters;
/// otherwise "name(code)最近 n 个月的统计信息:" (an unknown name is empty).
std::string oneStockCaption(std::string_view codeFieldText, const std::optional<std::string>& name,
                            int months);

namespace colours {
inline constexpr Rgb purple{0.5, 0, 0.5};
inline constexpr Rgb blue{0, 0, 1};
inline constexpr Rgb darkGreen{10 / 255.0, 80 / 255.0, 10 / 255.0};
inline constexpr Rgb darkGrey{1 / 3.0, 1 / 3.0, 1 / 3.0};
}  // namespace colours

struct HistoryCell {
    std::string text;
    Rgb colour;
    bool bold = false;
    /// The table's own font rather than the label font at 12 points.
    bool tableFont = false;
    friend bool operator==(const HistoryCell&, const HistoryCell&) = default;
};

/// The colour of a day's verdict text, with whether it is bold.
std::pair<Rgb, bool> verdictCellColour(const StockRecord& day);

/// The cell of column `identifier` (a stock-dictionary key) for one day;
/// the 5- and 10-day gains, percents, as "%.2f%%".
HistoryCell historyCell(const StockRecord& day, std::string_view identifier);

}  // namespace orvane::app
