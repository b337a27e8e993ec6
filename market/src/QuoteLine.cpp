#include "orvane/market/QuoteLine.h"

#include <charconv>

#include "orvane/core/TextSplit.h"
#include "orvane/market/StockCode.h"

namespace orvane {

namespace {

constexpr std::size_t kVolumeField = 8, kAmountField = 9, kStatusField = 32;
constexpr std::string_view kSuspendedStatus = "03";

std::optional<double> numberField(const std::vector<std::string_view>& fields, std::size_t i) {
    if (i >= fields.size()) return std::nullopt;
    const std::string_view text = fields[i];
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

/// The status field ends the quoted value: the closing quote and what
/// follows it are not part of it.
std::optional<std::string> statusField(const std::vector<std::string_view>& fields) {
    if (fields.size() <= kStatusField) return std::nullopt;
    std::string_view status = fields[kStatusField];
    status = status.substr(0, status.find('"'));
    if (status.empty()) return std::nullopt;
    return std::string(status);
}

}  // namespace

std::optional<QuoteBook> quoteBookOf(const std::vector<std::string_view>& fields) {
    constexpr std::size_t kFirstLevelField = 10;
    QuoteBook book;
    for (std::size_t level = 0; level < 5; ++level)
        for (auto [side, base] : {std::pair{&book.bids, kFirstLevelField},
                                  std::pair{&book.asks, kFirstLevelField + 10}}) {
            const auto volume = numberField(fields, base + 2 * level);
            const auto price = numberField(fields, base + 2 * level + 1);
            if (!volume || !price || *volume < 0 || *price < 0) return std::nullopt;
            (*side)[level] = {*price, *volume};
        }
    return book;
}

std::optional<StockRecord> parseSinaData(std::string_view text, std::string_view code) {
    const auto fields = splitOn(text, ',');
    if (fields.size() < 32) return std::nullopt;
    const std::size_t mark = fields[0].find("=\"");
    if (mark == std::string_view::npos) return std::nullopt;

    StockRecord r;
    r.name = std::string(fields[0].substr(mark + 2));
    r.code = std::string(code);
    r.date = std::string(fields[30]) + ' ' + std::string(fields[31]);
    r.yesClosePrice = std::string(fields[2]);
    r.openPrice = std::string(fields[1]);
    r.closePrice = std::string(fields[3]);
    r.highPrice = std::string(fields[4]);
    r.lowPrice = std::string(fields[5]);
    r.volume = numberField(fields, kVolumeField);
    r.amount = numberField(fields, kAmountField);
    r.book = quoteBookOf(fields);
    r.quoteStatus = statusField(fields);
    return r;
}

bool isSuspendedQuote(const StockRecord& quote) {
    return quote.quoteStatus == kSuspendedStatus || !(quote.close() > 0);
}

std::string quoteRequestURL(std::string_view quoteServer, std::string_view code) {
    std::string url(quoteServer);
    url += url.find('?') == std::string::npos ? '?' : '&';
    url += "list=";
    url += marketPrefix(code);
    url += code;
    return url;
}

}  // namespace orvane
