#pragma once
// The rules of the stock filter tab, without a window: its four modes with
// their captions and result files, the counts of the count pop-up, the
// index field, the cells of each column and the column sort.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "lists/RowCell.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

/// The modes, by segment of the segmented control.
enum class FilterMode { TopGainers = 0, Buy = 1, FiveDay = 2, TenDay = 3 };

/// The mode of a segment; segments outside 0..3 show the top gainers.
FilterMode filterModeOf(int segment);

/// How many top gainers the count pop-up's item lists: 20, 50, 100, 200,
/// 300; any other item 400.
int topGainerCount(int popupIndex);
/// How many top gainers of each market the ranking run screens for the
/// pop-up's item: 0 for item 0 (every stock of the code table), then 50,
/// 100, 200, 300.
int rankingSourceCount(int popupIndex);

/// The caption of a mode for the day `today` ("yyyy-MM-dd").
std::string filterCaption(FilterMode mode, const std::string& today);
/// The mode's result file of that day in the Gains folder; empty for the
/// top gainers, which have none.
std::filesystem::path filterResultFile(FilterMode mode, const std::filesystem::path& gains,
                                       const std::string& today);

/// "%d /%lu": the selected row's number (0 without a selection) and the
/// row count.
std::string filterIndexText(int selectedNumber, std::size_t rowCount);

/// The cell of a row under a column identifier in a mode.
RowCell filterCell(const StockRecord& row, std::string_view column, FilterMode mode);

/// Sorts the rows ascending by the column: the two change columns by the
/// day's percent (in every mode), "STOCK_closePrice" by the price, any
/// other by a locale-aware, case-insensitive comparison of its values.
/// Equal rows keep their order.
void sortFilterRowsAscending(std::vector<StockRecord>& rows, std::string_view column);

/// A click on a column header: the rows sorted ascending and kept so when
/// `sortAscending`, else reversed; `sortAscending` is inverted (it is
/// shared by all columns, so the first click sorts descending). Returns the
/// indicator the column shows.
SortIndicator clickFilterColumn(std::vector<StockRecord>& rows, std::string_view column,
                                bool& sortAscending);

}  // namespace orvane::app
