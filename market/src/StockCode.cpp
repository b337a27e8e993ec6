#include "orvane/market/StockCode.h"

#include <algorithm>

namespace orvane {

bool isValidStockCode(std::string_view text) {
    return text.size() == 6 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view marketPrefix(std::string_view code) {
    return (code.starts_with("60") || code.starts_with("51")) ? "sh" : "sz";
}

}  // namespace orvane
