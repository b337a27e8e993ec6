#include "orvane/stocklib/LocalComputation.h"

#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/market/HistoryText.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace {
constexpr std::int64_t kFiveTradingDaysBack = 6;
}

Dictionary beforeFiveDaysRecord(std::string_view code, std::string_view historyText) {
    using namespace keys;
    const std::optional<LocalDateTime> date5 = getdateBefore5Day(historyText);
    Dictionary record{
        {STOCK_Code, std::string(code)},
        {STOCK_DATE, date5 ? formatDate(*date5) : std::string()},
        {STOCK_Trend, -1},
        {STOCK_Trend_ModeB, false},
        {KEY_Gain_5Days, 0.0f},
        {KEY_Gain_10Days, 0.0f},
    };
    ParsedHistory history(historyText);
    const HistoryView whole(history);
    auto view = whole.dayView(kFiveTradingDaysBack);
    auto trade = historicalDayTrade(whole, kFiveTradingDaysBack, std::string(code));
    if (!view || !trade) return record;

    LocalDateTime close = date5.value_or(toLocal(now()));
    close.hour = 15, close.minute = 0, close.second = 0;
    const AnalysisResult r = parseOneStockYahooHistoryFormToday(*view, *trade, close);
    record[STOCK_Trend] = r.trend;
    record[STOCK_Trend_ModeB] = r.modeB;
    record[KEY_Gain_5Days] = gainPercent(trade->close, r.end5);
    record[KEY_Gain_10Days] = gainPercent(trade->close, r.end10);
    return record;
}

std::optional<Dictionary> computeLocalRecord(const Dictionary& quote,
                                             std::string_view historyText) {
    using namespace keys;
    if (!isValidRespondStr(historyText)) return std::nullopt;
    const std::string code = stringFor(quote, STOCK_Code);
    Dictionary before5 = beforeFiveDaysRecord(code, historyText);

    const AnalysisResult r = QXUtility::defQXUtility().analyzeStock(historyText, quote);
    const float close = floatFor(quote, STOCK_closePrice);
    Dictionary record;
    for (const char* key : {STOCK_Code, STOCK_DATE, STOCK_YesClosePrice, STOCK_OpenPrice,
                            STOCK_closePrice, STOCK_HighPrice, STOCK_LowPrice})
        if (const Value* v = find(quote, key)) record[key] = *v;
    record[STOCK_Trend] = r.trend;
    record[STOCK_Trend_ModeB] = r.modeB;
    record[KEY_Gain_5Days] = gainPercent(close, r.end5);
    record[KEY_Gain_10Days] = gainPercent(close, r.end10);
    record[STOCK_DICTINFO_Before5Days] = std::move(before5);
    return record;
}

}  // namespace orvane
