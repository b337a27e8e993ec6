#pragma once
// The holdings folder: one file "CODE.txt" a held stock, holding the stock's
// latest quote line as the quote service sent it (GB 18030). Reading never
// changes the folder: a file that gives no row (empty, binary, not a quote,
// or the quote of another stock) stays where it is.

#include <filesystem>
#include <optional>
#include <string_view>

#include "HoldingSort.h"
#include "orvane/core/Value.h"

namespace orvane::app {

/// The quote record of one holding file, or nothing when the file cannot be
/// read or decoded, is no quote line, or quotes another stock than the one
/// its name says.
std::optional<StockRecord> readHoldingFile(const std::filesystem::path& file);

/// Every holding of the folder that gives a row, by speed, greatest first.
HoldingList readHoldings(const std::filesystem::path& folder);

/// Whether the folder holds a file named after the code (any extension).
bool holdsStock(const std::filesystem::path& folder, std::string_view code);

/// "FOLDER/CODE.txt".
std::filesystem::path holdingFile(const std::filesystem::path& folder, std::string_view code);

}  // namespace orvane::app
