#include "watchlists/WatchQuotes.h"

#include <algorithm>

#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteBatch.h"

namespace orvane::app {

WatchQuote watchQuoteOf(StockRecord record) {
    const auto volume = record.volume, amount = record.amount;
    return {std::move(record), volume, amount};
}

std::map<std::string, WatchQuote, std::less<>> watchQuotesOf(std::string_view text) {
    std::map<std::string, WatchQuote, std::less<>> quotes;
    for (StockRecord& record : parseQuoteAnswer(text)) {
        std::string code = record.code;
        quotes[std::move(code)] = watchQuoteOf(std::move(record));
    }
    return quotes;
}

std::map<std::string, WatchQuote, std::less<>> fetchWatchQuotes(
    const std::vector<std::string>& codes, std::stop_token stop) {
    std::map<std::string, WatchQuote, std::less<>> quotes;
    const std::string server = MarketServers::shared()->quoteServer;
    for (const auto& batch : quoteBatches(codes)) {
        if (stop.stop_requested()) break;
        auto request = HttpRequest::requestWithURL(quotesRequestURL(server, batch));
        std::stop_callback cancel(stop, [&] { request->cancel(); });
        request->startSynchronous();
        if (request->error()) continue;
        if (std::optional<std::string> text = request->responseString())
            quotes.merge(watchQuotesOf(*text));
    }
    return quotes;
}

}  // namespace orvane::app
