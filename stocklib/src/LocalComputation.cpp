#include "orvane/stocklib/LocalComputation.h"

#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/market/HistoryText.h"

namespace orvane {

namespace {
constexpr std::int64_t kFiveTradingDaysBack = 6;
}

StockRecord beforeFiveDaysRecord(std::string_view code, std::string_view historyText) {
    const std::optional<LocalDateTime> date5 = getdateBefore5Day(historyText);
    StockRecord record;
    record.code = std::string(code);
    record.date = date5 ? formatDate(*date5) : std::string();
    record.trend = -1;
    record.modeB = false;
    record.gain5 = 0.0f;
    record.gain10 = 0.0f;
    ParsedHistory history(historyText);
    const HistoryView whole(history);
    auto view = whole.dayView(kFiveTradingDaysBack);
    auto trade = historicalDayTrade(whole, kFiveTradingDaysBack, std::string(code));
    if (!view || !trade) return record;

    LocalDateTime close = date5.value_or(toLocal(now()));
    close.hour = 15, close.minute = 0, close.second = 0;
    const AnalysisResult r = parseOneStockYahooHistoryFormToday(*view, *trade, close);
    record.trend = r.trend;
    record.modeB = r.modeB;
    record.gain5 = gainPercent(trade->close, r.end5);
    record.gain10 = gainPercent(trade->close, r.end10);
    return record;
}

std::optional<StockRecord> computeLocalRecord(const StockRecord& quote,
                                              std::string_view historyText) {
    if (!isValidRespondStr(historyText)) return std::nullopt;
    StockRecord before5 = beforeFiveDaysRecord(quote.code, historyText);

    // The verdict of the quote's day is the one of its session, as the
    // server gives it: the day is not yet in the history. A history that
    // already holds it (fetched after the close) would count it twice.
    const std::string quoteDate = quote.date.value_or("");  // "yyyy-MM-dd HH:mm:ss"
    const std::string history =
        historyBeforeDay(historyText, std::string_view(quoteDate).substr(0, 10));
    // The engine keeps today's record as its stock dictionary.
    const AnalysisResult r = QXUtility::defQXUtility().analyzeStock(history, quote.toDictionary());
    StockRecord record;
    record.code = quote.code;
    record.date = quote.date;
    record.yesClosePrice = quote.yesClosePrice;
    record.openPrice = quote.openPrice;
    record.closePrice = quote.closePrice;
    record.highPrice = quote.highPrice;
    record.lowPrice = quote.lowPrice;
    record.trend = r.trend;
    record.score = r.score;
    record.modeB = r.modeB;
    record.gain5 = gainPercent(quote.close(), r.end5);
    record.gain10 = gainPercent(quote.close(), r.end10);
    record.setBefore5Days(std::move(before5));
    return record;
}

}  // namespace orvane
