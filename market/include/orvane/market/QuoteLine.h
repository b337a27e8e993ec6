#pragma once
// The quote service's one-line answer (a script assignment whose quoted
// value holds comma-separated fields: 0 name, 1 open, 2 previous close,
// 3 price, 4 high, 5 low, ... 30 date, 31 time) and how a quote is requested.

#include <optional>
#include <string>
#include <string_view>

#include "orvane/market/StockRecord.h"

namespace orvane {

/// The quote record (name, code, "date time", the five prices as text), or
/// nothing for fewer than 32 fields or a first field without `="`. The
/// given code, not the line's, becomes the record's code.
std::optional<StockRecord> parseSinaData(std::string_view text, std::string_view code);

/// The quote service's address with "list=" + market prefix + code as query
/// (joined with "&" when the address already has a query).
std::string quoteRequestURL(std::string_view quoteServer, std::string_view code);

}  // namespace orvane
