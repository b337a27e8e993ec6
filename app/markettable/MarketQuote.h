#pragma once
// The quote service's answer for many stocks at once: one line a symbol,
// `var hq_str_sh600000="name,open,previous close,price,high,low,bid,ask,
// volume,amount,...,date,time,...";`, volume in shares and amount in yuan.
// The market table and the index strip ask it in batches, at most
// kMaxQuoteSymbols symbols a request (the service's own limit).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/StockRecord.h"

#include "orvane/market/QuoteBatch.h"

namespace orvane::app {

struct MarketQuote {
    std::string code;  // six digits, from the line's symbol
    std::string name;
    double open = 0, previousClose = 0, price = 0, high = 0, low = 0;
    double volume = 0;  // shares
    double amount = 0;  // yuan
    std::string date, time;

    /// No trade today (suspended, or before the first trade): no price.
    bool suspended() const { return !(price > 0); }
};

/// A quote record of the market's parser as the table shows it; nothing when
/// a price is no number.
std::optional<MarketQuote> marketQuoteOf(const StockRecord& record);

/// The quotes of an answer, in its order (the market's quote parser's
/// records with numbers where the prices stand).
std::vector<MarketQuote> parseQuoteLines(std::string_view text);

}  // namespace orvane::app
