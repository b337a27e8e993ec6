// The analysis run on arbitrary history texts. The first bytes choose the
// stock code and today's prices; the rest is the history.

#include <spdlog/spdlog.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/LocalComputation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (spdlog::set_level(spdlog::level::off), true);
    (void)quiet;
    if (size < 13) return 0;
    float prices[3];
    std::memcpy(prices, data, sizeof prices);
    const char* codes[] = {"600000", "399001", "510050", "000001"};
    const orvane::TodayTrade today{codes[data[12] % 4], prices[0], prices[1], prices[2]};
    const std::string_view text(reinterpret_cast<const char*>(data + 13), size - 13);

    orvane::ParsedHistory history(text);
    const orvane::HistoryView whole(history);
    const orvane::LocalDateTime now{2025, 9, 1 + data[12] % 28, 10, 0, 0, data[12] % 7};
    orvane::parseOneStockYahooHistoryFormToday(whole, today, now);
    orvane::historicalDayText(whole, data[12] % 16);
    orvane::beforeFiveDaysRecord(today.code, text);
    return 0;
}
