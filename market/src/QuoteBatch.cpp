#include "orvane/market/QuoteBatch.h"

#include <algorithm>

#include "orvane/core/TextSplit.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/StockCode.h"

namespace orvane {

std::vector<std::vector<std::string>> quoteBatches(const std::vector<std::string>& codes) {
    std::vector<std::vector<std::string>> batches;
    for (std::size_t i = 0; i < codes.size(); i += kMaxQuoteSymbols)
        batches.emplace_back(codes.begin() + static_cast<std::ptrdiff_t>(i),
                             codes.begin() + static_cast<std::ptrdiff_t>(
                                                 std::min(codes.size(), i + kMaxQuoteSymbols)));
    return batches;
}

void appendSymbols(std::string& url, const std::vector<std::string>& codes) {
    bool first = true;
    for (const std::string& code : codes) {
        if (!isValidStockCode(code)) continue;
        if (!first) url += ',';
        first = false;
        url += marketPrefix(code);
        url += code;
    }
}

std::string quotesRequestURL(std::string_view quoteServer, const std::vector<std::string>& codes) {
    std::string url(quoteServer);
    url += url.find('?') == std::string::npos ? '?' : '&';
    url += "list=";
    appendSymbols(url, codes);
    return url;
}

std::vector<std::pair<std::string, std::string_view>> quoteLinesOf(std::string_view text) {
    constexpr std::string_view kHead = "hq_str_";
    std::vector<std::pair<std::string, std::string_view>> lines;
    for (std::string_view line : splitOn(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t head = line.find(kHead);
        // "hq_str_" then the exchange's two letters and the code; a line cut
        // short before them is no quote.
        const std::size_t at = head == std::string_view::npos ? head : head + kHead.size() + 2;
        if (at == std::string_view::npos || at > line.size()) continue;
        const std::string_view code = line.substr(at, 6);
        if (isValidStockCode(code)) lines.emplace_back(std::string(code), line);
    }
    return lines;
}

std::vector<StockRecord> parseQuoteAnswer(std::string_view text) {
    std::vector<StockRecord> quotes;
    for (const auto& [code, line] : quoteLinesOf(text))
        if (auto quote = parseSinaData(line, code)) quotes.push_back(std::move(*quote));
    return quotes;
}

}  // namespace orvane
