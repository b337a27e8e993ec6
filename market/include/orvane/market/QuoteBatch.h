#pragma once
// Quotes of several stocks in one request, as the quote service answers
// them: "list=sh600000,sz000001", one quote line a symbol.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/market/StockRecord.h"

namespace orvane {

/// At most this many symbols a request: the quote service's own limit.
inline constexpr std::size_t kMaxQuoteSymbols = 1000;

/// The codes in requests of at most kMaxQuoteSymbols each, in order.
std::vector<std::vector<std::string>> quoteBatches(const std::vector<std::string>& codes);

/// Appends the symbols of every valid code of `codes`, comma-separated
/// ("sh600000,sz000001"; invalid codes are left out).
void appendSymbols(std::string& url, const std::vector<std::string>& codes);

/// The quote service's address asking for every valid code of `codes`
/// (invalid ones are left out).
std::string quotesRequestURL(std::string_view quoteServer, const std::vector<std::string>& codes);

/// The line of each symbol in an answer, as the service sent it (without
/// its line end), under the symbol's code, in the answer's order; lines
/// without a symbol of a valid code are left out. Works on the raw GB 18030
/// answer as well as on its UTF-8 text: the symbol comes before any name.
std::vector<std::pair<std::string, std::string_view>> quoteLinesOf(std::string_view text);

/// The quote records of an answer, each under the code of its line's
/// symbol; lines that are no quote (an unknown code's empty one) are left
/// out.
std::vector<StockRecord> parseQuoteAnswer(std::string_view text);

}  // namespace orvane
