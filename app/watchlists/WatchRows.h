#pragma once
// What a watch list shows for one stock: its latest quote's figures and
// the verdict of its last judged day, cell by cell, and the key each column
// sorts by. Pure, so that each rule is tested without a window.

#include <optional>
#include <string>
#include <vector>

#include "lists/RowCell.h"
#include "orvane/market/StockRecord.h"
#include "watchlists/WatchQuotes.h"

namespace orvane::app {

enum class WatchColumn {
    Code,
    Name,
    Price,
    Percent,
    Change,
    Speed,
    Open,
    High,
    Low,
    YesClose,
    Volume,
    Amount,
    Amplitude,
    VolumeRatio,
    Trend,
    Score,
    ModeB
};

struct WatchColumnInfo {
    WatchColumn column;
    const char* header;
    int width;
    /// Shown in a new window (the others are chosen from the header's menu).
    bool shownAtFirst;
};

/// Every column in its first order.
const std::vector<WatchColumnInfo>& watchColumns();

/// One watched stock: its code and, once fetched, its quote, its verdict
/// (the record of its last judged day: trend, score, model B) and its last
/// days' volumes (lots, oldest first).
struct WatchRow {
    std::string code;
    std::optional<WatchQuote> quote;
    std::optional<StockRecord> verdict;
    std::vector<double> pastDaysLots;
    /// 涨速: the price's move over the last five minutes the list saw, in
    /// percent (common/PriceSpeed.h), as the market table has it.
    std::optional<double> speed;
};

/// The ratio of today's volume rate (at the quote's time) to the last five
/// days' (量比), or nothing without a quote or past volumes.
std::optional<double> watchVolumeRatio(const WatchRow& row);

/// "1234", "12.35万", "1.23亿": a count in the terminals' short form.
std::string shortCount(double count);

/// A figure without a quote (or of a quote whose prices cannot be true)
/// shows "—"; a stock without a price today shows "停牌" for its change.
RowCell watchCell(const WatchRow& row, WatchColumn column);

/// The key a column sorts by: figures by value, the code by number, texts
/// (name, trend words) by `textRank` (their place in the Chinese order,
/// worked out by the model for the whole list); NaN for none.
double watchSortKey(const WatchRow& row, WatchColumn column, double textRank = 0);

/// The text a text column sorts by.
std::string watchSortText(const WatchRow& row, WatchColumn column);
bool isTextColumn(WatchColumn column);

}  // namespace orvane::app
