#include "orvane/market/QuoteLine.h"

#include "orvane/core/TextSplit.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

std::optional<Dictionary> parseSinaData(std::string_view text, std::string_view code) {
    const auto fields = splitOn(text, ',');
    if (fields.size() < 32) return std::nullopt;
    const std::size_t mark = fields[0].find("=\"");
    if (mark == std::string_view::npos) return std::nullopt;

    using namespace keys;
    std::string date(fields[30]);
    date += ' ';
    date += fields[31];
    return Dictionary{
        {STOCK_SC_Name, fields[0].substr(mark + 2)},
        {STOCK_Code, code},
        {STOCK_DATE, std::move(date)},
        {STOCK_YesClosePrice, fields[2]},
        {STOCK_OpenPrice, fields[1]},
        {STOCK_closePrice, fields[3]},
        {STOCK_HighPrice, fields[4]},
        {STOCK_LowPrice, fields[5]},
    };
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
