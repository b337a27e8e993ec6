#include "backtest/BacktestMarket.h"

#include "orvane/backtest/MarketSource.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/HistoryReader.h"
#include "orvane/market/CsvHistory.h"
#include "orvane/market/ServerPaths.h"

namespace orvane::app {

namespace fs = std::filesystem;

backtest::MarketLoad loadMarket(const BacktestMarket& market, int jobs) {
    return market.isCsv() ? backtest::loadDailyCsv(market.csvDir, market.stockList, jobs)
                          : backtest::loadPublishedTree(market.tree);
}

backtest::MarketFiles filesOf(const BacktestMarket& market) {
    using Layout = backtest::MarketFiles::Layout;
    if (market.isCsv()) return {Layout::DailyCsv, market.csvDir, market.stockList};
    return {Layout::PublishedTree, market.tree, {}};
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
    // Newest day first: the day lines dated after the last day are dropped
    // from the top, the rest kept as they stand. Empty elements (the second
    // half of a CR LF break, blank lines) carry no date and are passed over.
    std::optional<std::size_t> firstDay, kept;
    visitHistoryElements(history, [&](std::size_t index, std::string_view element) {
        if (index == 0 || element.empty()) return true;
        const std::size_t at = elementOffset(history, element);
        if (!firstDay) firstDay = at;
        if (element.substr(0, lastDate.size()) > lastDate) return true;
        kept = at;
        return false;
    });
    if (!firstDay) return std::string(history);
    std::string out(history.substr(0, *firstDay));
    if (kept) out += history.substr(*kept);
    return out;
}

}  // namespace orvane::app
