#include "orvane/market/MinuteLines.h"

#include <charconv>

#include "orvane/core/TextSplit.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteBatch.h"
#include "orvane/market/StockCode.h"

namespace orvane {

namespace {

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

std::optional<int> twoDigits(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return std::nullopt;
    return (text[0] - '0') * 10 + (text[1] - '0');
}

}  // namespace

std::optional<int> sessionMinuteOf(int hour, int minute) {
    const int m = hour * 60 + minute;
    if (m >= 9 * 60 + 30 && m < 11 * 60 + 30) return m - (9 * 60 + 30);
    if (m >= 13 * 60 && m < 15 * 60) return 120 + m - 13 * 60;
    return std::nullopt;
}

std::string minutesRequestURL(std::string_view dataServer, const std::vector<std::string>& codes) {
    std::string url = quoteServiceOf(dataServer) + "min=";
    appendSymbols(url, codes);
    return url;
}

std::map<std::string, std::vector<MinuteBar>> parseMinuteAnswer(std::string_view text) {
    std::map<std::string, std::vector<MinuteBar>> out;
    for (std::string_view line : splitOn(text, '\n')) {
        if (line.ends_with('\r')) line.remove_suffix(1);
        const auto fields = splitOn(line, ',');
        if (fields.size() != 5 || fields[0].size() != 8 || fields[1].size() != 5 ||
            fields[1][2] != ':')
            continue;
        const std::string_view code = fields[0].substr(2);
        if (!isValidStockCode(code) || fields[0].substr(0, 2) != marketPrefix(code)) continue;
        const auto hour = twoDigits(fields[1].substr(0, 2)),
                   minute = twoDigits(fields[1].substr(3));
        if (!hour || !minute) continue;
        const auto session = sessionMinuteOf(*hour, *minute);
        const auto price = number(fields[2]), average = number(fields[3]),
                   volume = number(fields[4]);
        if (!session || !price || !average || !volume) continue;
        out[std::string(code)].push_back({*session, *price, *average, *volume});
    }
    return out;
}

}  // namespace orvane
