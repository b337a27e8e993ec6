#include "markettable/MarketQuote.h"

#include <algorithm>
#include <charconv>

#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace {

bool readNumber(std::string_view text, double& out) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool isSixDigits(std::string_view code) {
    if (code.size() != 6) return false;
    for (const char c : code)
        if (c < '0' || c > '9') return false;
    return true;
}

// One line's quote, or false.
bool parseLine(std::string_view line, MarketQuote& quote) {
    const std::size_t symbolStart = line.find("hq_str_");
    const std::size_t open = line.find("=\"");
    if (symbolStart == std::string_view::npos || open == std::string_view::npos ||
        open < symbolStart + 13)
        return false;
    const std::string_view code = line.substr(open - 6, 6);
    if (!isSixDigits(code)) return false;
    const std::size_t close = line.find('"', open + 2);
    if (close == std::string_view::npos) return false;
    const std::string_view body = line.substr(open + 2, close - open - 2);

    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (true) {
        const std::size_t comma = body.find(',', pos);
        fields.push_back(body.substr(pos, comma == std::string_view::npos ? comma : comma - pos));
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    if (fields.size() < 32) return false;
    quote.code.assign(code);
    quote.name.assign(fields[0]);
    double* const numbers[] = {&quote.open, &quote.previousClose, &quote.price, &quote.high,
                               &quote.low};
    for (std::size_t i = 0; i < 5; ++i)
        if (!readNumber(fields[i + 1], *numbers[i])) return false;
    if (!readNumber(fields[8], quote.volume)) quote.volume = 0;
    if (!readNumber(fields[9], quote.amount)) quote.amount = 0;
    quote.date.assign(fields[30]);
    quote.time.assign(fields[31]);
    return true;
}

}  // namespace

std::vector<MarketQuote> parseQuoteLines(std::string_view text) {
    std::vector<MarketQuote> quotes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        MarketQuote quote;
        if (parseLine(text.substr(pos, end - pos), quote)) quotes.push_back(std::move(quote));
        pos = end + 1;
    }
    return quotes;
}

std::vector<std::vector<std::string>> quoteBatches(const std::vector<std::string>& codes) {
    std::vector<std::vector<std::string>> batches;
    for (std::size_t i = 0; i < codes.size(); i += kMaxQuoteSymbols)
        batches.emplace_back(codes.begin() + static_cast<std::ptrdiff_t>(i),
                             codes.begin() + static_cast<std::ptrdiff_t>(
                                                 std::min(codes.size(), i + kMaxQuoteSymbols)));
    return batches;
}

}  // namespace orvane::app
