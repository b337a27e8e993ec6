#pragma once
// The quote service's one-line answer (a script assignment whose quoted
// value holds comma-separated fields: 0 name, 1 open, 2 previous close,
// 3 price, 4 high, 5 low, 6 bid, 7 ask, 8 volume (shares), 9 amount (yuan),
// 10-29 five bid and five ask levels as volume-price pairs, 30 date, 31
// time, 32 status) and how a quote is requested.

#include <optional>
#include <string>
#include <string_view>

#include "orvane/market/StockRecord.h"

namespace orvane {

/// The quote record (name, code, "date time", the five prices as text; the
/// volume, amount and five levels when their fields are numbers, the status
/// when there is one), or nothing for fewer than 32 fields or a first field
/// without `="`. The given code, not the line's, becomes the record's code.
std::optional<StockRecord> parseSinaData(std::string_view text, std::string_view code);

/// A quote of a stock that does not trade today: the service's suspension
/// status, or no price at all.
bool isSuspendedQuote(const StockRecord& quote);

/// The quote service's address with "list=" + market prefix + code as query
/// (joined with "&" when the address already has a query).
std::string quoteRequestURL(std::string_view quoteServer, std::string_view code);

}  // namespace orvane
