// Daily CSV files on arbitrary bytes: the conversion `csv2hist` makes, and the
// strict check and the reading the publisher's import applies. A file the
// check passes must read as real dates in order with finite numbers, and the
// days the import keeps of it must be days that can be true.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/LocalTime.h"
#include "orvane/market/CsvHistory.h"
#include "orvane/market/DayPlausibility.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view csv(reinterpret_cast<const char*>(data), size);
    // `csv2hist`, and `csv2hist-dir --until` on every other input.
    orvane::csvToHistoryText(csv,
                             size % 2 ? std::optional<std::string>("2025-06-30") : std::nullopt);

    if (orvane::checkDailyCsv(csv)) return 0;
    std::string error;
    const auto bars = orvane::readDailyBars(csv, error);
    if (!bars || bars->empty()) __builtin_trap();
    std::string previous;
    for (const orvane::DailyBar& bar : *bars) {
        if (!orvane::parseDate(bar.date) || bar.date <= previous) __builtin_trap();
        previous = bar.date;
        for (double v : {bar.open, bar.high, bar.low, bar.close, bar.volume})
            if (!std::isfinite(v)) __builtin_trap();
    }
    orvane::historyTextOf(*bars);

    // The market's reading keeps only days that can be true.
    const orvane::CheckedDailyCsv checked = orvane::readCheckedDailyCsv(csv, "2025-06-30");
    if (checked.fault) __builtin_trap();
    for (std::size_t i = 0; i < checked.bars.size(); ++i) {
        const orvane::DailyBar& day = checked.bars[i];
        if (orvane::impossibilityOf(day, "2025-06-30") ||
            (i > 0 && orvane::impossibleMoveFrom(checked.bars[i - 1].close, day)))
            __builtin_trap();
    }
    return 0;
}
