#pragma once
// The rules of the smart sort list: the watched stocks' quote files, kept
// when the stock stands more than 4% above the lower of its day's low and
// its previous close, greatest jump first; its cells are those of the
// holdings list.

#include <filesystem>
#include <optional>
#include <string_view>

#include "lists/RowCell.h"
#include "lists/RowFigures.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

/// Close at least 0.001, m not 0 and the jump strictly above 4.0.
bool isRisingFast(const RowFigures& figures);

/// Whether the quote line is the named stock's: its variable name (before
/// `="`) ends with the code.
bool quoteLineNames(std::string_view text, std::string_view code);

/// A quote file as a row, for the code of its file name: nothing when the
/// file cannot be read, is not GB 18030 text, or is another stock's line
/// or no quote line at all.
std::optional<StockRecord> readQuoteFileRow(const std::filesystem::path& file);

/// The smart list from the watch folder's quote files.
std::vector<StockRecord> smartSortRows(const std::filesystem::path& folder);

/// The cell of a row under a column identifier (the holdings list's cells).
RowCell smartCell(const StockRecord& row, std::string_view column);

}  // namespace orvane::app
