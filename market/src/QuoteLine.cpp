#include "orvane/market/QuoteLine.h"

#include "orvane/core/TextSplit.h"
#include "orvane/market/StockCode.h"

namespace orvane {

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
    return r;
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
