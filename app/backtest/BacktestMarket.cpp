#include "backtest/BacktestMarket.h"

#include "orvane/backtest/MarketSource.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/market/CsvHistory.h"
#include "orvane/market/ServerPaths.h"

namespace orvane::app {

namespace fs = std::filesystem;

backtest::MarketLoad loadMarket(const BacktestMarket& market, int jobs) {
    return market.isCsv() ? backtest::loadDailyCsv(market.csvDir, market.stockList, jobs)
                          : backtest::loadPublishedTree(market.tree);
}

std::optional<std::string> stockHistoryUntil(const BacktestMarket& market, const std::string& code,
                                             const std::string& lastDate) {
    if (market.isCsv()) {
        const auto csv = readFile(market.csvDir / (code + ".csv"));
        if (!csv) return std::nullopt;
        CsvConversion converted = csvToHistoryText(*csv, lastDate);
        if (!converted.error.empty()) return std::nullopt;
        return std::move(converted.history);
    }
    const fs::path relative = fs::path(serverpath::historyFilePath(code)).relative_path();
    const auto history = readFile(market.tree / relative);
    if (!history) return std::nullopt;
    return historyUntil(*history, lastDate);
}

std::string historyUntil(std::string_view history, std::string_view lastDate) {
    const std::size_t headerEnd = history.find('\n');
    if (headerEnd == std::string_view::npos) return std::string(history);
    std::size_t line = headerEnd + 1;
    // Newest day first: skip the lines dated after the last day, keep the rest.
    while (line < history.size() && history.substr(line, lastDate.size()) > lastDate) {
        const std::size_t next = history.find('\n', line);
        if (next == std::string_view::npos) {
            line = history.size();
            break;
        }
        line = next + 1;
    }
    std::string out(history.substr(0, headerEnd + 1));
    out += history.substr(line);
    return out;
}

}  // namespace orvane::app
