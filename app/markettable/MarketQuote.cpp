#include "markettable/MarketQuote.h"

#include <algorithm>
#include <charconv>

#include "orvane/market/QuoteBatch.h"

namespace orvane::app {

namespace {

std::optional<double> numberOf(const std::optional<std::string>& text) {
    double number = 0;
    if (!text || text->empty()) return std::nullopt;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (ec != std::errc() || end != text->data() + text->size()) return std::nullopt;
    return number;
}

}  // namespace

std::optional<MarketQuote> marketQuoteOf(const StockRecord& record) {
    MarketQuote quote;
    quote.code = record.code;
    quote.name = record.name.value_or("");
    const std::optional<std::string>* const texts[] = {&record.openPrice, &record.yesClosePrice,
                                                       &record.closePrice, &record.highPrice,
                                                       &record.lowPrice};
    double* const numbers[] = {&quote.open, &quote.previousClose, &quote.price, &quote.high,
                               &quote.low};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const auto number = numberOf(*texts[i]);
        if (!number) return std::nullopt;
        *numbers[i] = *number;
    }
    quote.volume = record.volume.value_or(0);
    quote.amount = record.amount.value_or(0);
    // The record's date is the quote's day and time: "2026-12-08 14:59:57".
    const std::string when = record.date.value_or("");
    const std::size_t space = when.find(' ');
    quote.date = when.substr(0, space);
    if (space != std::string::npos) quote.time = when.substr(space + 1);
    return quote;
}

std::vector<MarketQuote> parseQuoteLines(std::string_view text) {
    std::vector<MarketQuote> quotes;
    for (const StockRecord& record : parseQuoteAnswer(text))
        if (auto quote = marketQuoteOf(record)) quotes.push_back(std::move(*quote));
    return quotes;
}

}  // namespace orvane::app
