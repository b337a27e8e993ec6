#include "orvane/market/ListText.h"

#include "orvane/core/TextSplit.h"
#include "orvane/market/StockCode.h"

namespace orvane {

bool isServerListText(std::string_view text, std::size_t fields, std::size_t codeField) {
    const auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto parts = splitOn(lines[i], ',');
        if (parts.size() != fields) continue;
        if (i == 0 || isValidStockCode(parts[codeField])) return true;
    }
    return false;
}

std::string unusableListAnswer(long status, std::string_view what) {
    if (status != 200) return "the data server answered HTTP " + std::to_string(status);
    return "the answer is not a " + std::string(what);
}

}  // namespace orvane
