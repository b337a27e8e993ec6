#include "watchlists/WatchQuotes.h"

#include <charconv>
#include <cmath>

#include "orvane/core/TextSplit.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteBatch.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace {

constexpr std::string_view kLineMark = "hq_str_";
constexpr std::size_t kVolumeField = 8, kAmountField = 9;

std::optional<double> numberField(const std::vector<std::string_view>& fields, std::size_t i) {
    if (i >= fields.size()) return std::nullopt;
    double number = 0;
    const std::string_view text = fields[i];
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number) ||
        number < 0)
        return std::nullopt;
    return number;
}

}  // namespace

std::map<std::string, WatchQuote, std::less<>> parseQuoteAnswer(std::string_view text) {
    std::map<std::string, WatchQuote, std::less<>> quotes;
    for (std::string_view line : splitOn(text, '\n')) {
        // "var hq_str_sh600000=\"...\";": the code follows the market prefix.
        const std::size_t mark = line.find(kLineMark);
        const std::size_t value = line.find('=');
        if (mark == std::string_view::npos || value == std::string_view::npos ||
            value < mark + kLineMark.size() + 2)
            continue;
        const std::string code(
            line.substr(mark + kLineMark.size() + 2, value - mark - kLineMark.size() - 2));
        if (!isValidStockCode(code)) continue;
        std::optional<StockRecord> record = parseSinaData(line, code);
        if (!record) continue;
        const auto fields = splitOn(line, ',');
        quotes[code] = {std::move(*record), numberField(fields, kVolumeField),
                        numberField(fields, kAmountField)};
    }
    return quotes;
}

std::map<std::string, WatchQuote, std::less<>> fetchWatchQuotes(
    const std::vector<std::string>& codes, std::stop_token stop) {
    std::map<std::string, WatchQuote, std::less<>> quotes;
    const std::string server = MarketServers::shared()->quoteServer;
    for (std::size_t first = 0; first < codes.size() && !stop.stop_requested();
         first += kSymbolsPerQuoteRequest) {
        const auto end = codes.begin() +
                         static_cast<long>(std::min(codes.size(), first + kSymbolsPerQuoteRequest));
        const std::vector<std::string> batch(codes.begin() + static_cast<long>(first), end);
        auto request = HttpRequest::requestWithURL(quotesRequestURL(server, batch));
        std::stop_callback cancel(stop, [&] { request->cancel(); });
        request->startSynchronous();
        if (request->error()) continue;
        if (std::optional<std::string> text = request->responseString())
            quotes.merge(parseQuoteAnswer(*text));
    }
    return quotes;
}

}  // namespace orvane::app
