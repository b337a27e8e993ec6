#pragma once
// The holdings folder: one file "CODE.txt" a held stock, holding the stock's
// latest quote line as the quote service sent it (GB 18030). Reading never
// changes the folder: a holding file that gives no quote (empty, binary,
// not a quote, or the quote of another stock) stays where it is and is
// listed as a row with its code only, so that it can be deleted; so is one
// larger than kHoldingFileLimit, which is not read at all. Only codes of the
// code table are added.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "holdings/HoldingSort.h"
#include "orvane/core/Value.h"

namespace orvane {
class CodeTable;
}

namespace orvane::app {

/// A quote line takes a few hundred bytes: a larger file is none.
inline constexpr std::uintmax_t kHoldingFileLimit = 1024 * 1024;

/// The quote record of one holding file, or nothing when the file cannot be
/// read or decoded (or is no regular file, or too large), is no quote line, or quotes another stock
/// than the one its name says.
std::optional<StockRecord> readHoldingFile(const std::filesystem::path& file);

/// Every holding of the folder: those with a quote by speed, greatest first,
/// then the "CODE.txt" files (CODE six digits) without one, by code.
HoldingList readHoldings(const std::filesystem::path& folder);

/// Whether the folder holds a file named after the code (any extension).
bool holdsStock(const std::filesystem::path& folder, std::string_view code);

/// Why the code cannot be held ("CODE 不在股票代码表中，没有加入持仓"), or
/// nothing when the code table, as the file is now, lists it.
std::optional<std::string> refusalToHold(std::string_view code, const CodeTable& table);

/// Replaces a held stock's quote with `line`, the quote service's line for
/// it, atomically. False when the stock is no longer held or the file cannot
/// be written. A holding deleted before the call is not brought back; one
/// deleted in the instant between the look and the write may be.
bool replaceHoldingQuote(const std::filesystem::path& folder, std::string_view code,
                         std::string_view line);

/// "FOLDER/CODE.txt".
std::filesystem::path holdingFile(const std::filesystem::path& folder, std::string_view code);

}  // namespace orvane::app
