#include "orvane/httpserver/QuoteSymbol.h"

#include <algorithm>

namespace orvane::server {

std::string_view marketPrefix(std::string_view code) {
    return (code.starts_with("60") || code.starts_with("51")) ? "sh" : "sz";
}

std::optional<std::string> codeOfQuoteSymbol(std::string_view symbol) {
    if (symbol.size() != 8) return std::nullopt;
    std::string_view code = symbol.substr(2);
    if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    // "sh000001" is the Shanghai index, not the Shenzhen stock 000001: a
    // prefix that is not the code's own market names something we do not hold.
    if (symbol.substr(0, 2) != marketPrefix(code)) return std::nullopt;
    return std::string(code);
}

}  // namespace orvane::server
