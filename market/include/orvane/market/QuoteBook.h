#pragma once
// The five bid and five ask levels of a quote (五档): price in yuan and
// volume in shares, as the quote service gives them. Level 0 is the best.

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace orvane {

struct BookLevel {
    double price = 0;   // yuan; 0 for an empty level
    double volume = 0;  // shares
    bool empty() const { return !(price > 0); }
    friend bool operator==(const BookLevel&, const BookLevel&) = default;
};

struct QuoteBook {
    std::array<BookLevel, 5> bids;  // 买一 … 买五, highest first
    std::array<BookLevel, 5> asks;  // 卖一 … 卖五, lowest first
    friend bool operator==(const QuoteBook&, const QuoteBook&) = default;
};

/// The levels from a quote line's fields 10 to 29 (volume, price pairs:
/// five bids, then five asks); nothing when a field is missing or is not a
/// number.
std::optional<QuoteBook> quoteBookOf(const std::vector<std::string_view>& fields);

}  // namespace orvane
