#pragma once
// The quotes of watched stocks: the quote service answers several symbols
// in one request ("list=sh600000,sz000001", one line a symbol), each line
// read by the market's quote parser, with the day's volume (shares) and
// amount (yuan) at hand.

#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/StockRecord.h"

namespace orvane::app {

struct WatchQuote {
    StockRecord record;
    std::optional<double> volumeShares;
    std::optional<double> amountYuan;
};

/// A quote record with its day's volume and amount at hand.
WatchQuote watchQuoteOf(StockRecord record);

/// The quotes of an answer of any number of lines (the market's quote
/// parser's records), by code.
std::map<std::string, WatchQuote, std::less<>> watchQuotesOf(std::string_view text);

/// Fetches the codes' quotes from the program's quote service (on the
/// calling thread, in batches); codes without an answer are missing.
std::map<std::string, WatchQuote, std::less<>> fetchWatchQuotes(
    const std::vector<std::string>& codes, std::stop_token stop);

}  // namespace orvane::app
