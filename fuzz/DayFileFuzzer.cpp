// The desktop terminals' day files on arbitrary bytes: every whole record is
// either a day or refused, and the days settled from them are real dates in
// strict order with finite prices and volumes, each of them a day that can
// be true after the one before.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/core/LocalTime.h"
#include "orvane/market/DayFile.h"
#include "orvane/market/DayPlausibility.h"
#include "orvane/market/ImportedDays.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvane::DayFileRead read = orvane::readDayFile(bytes, 1);
    const std::size_t records = size / orvane::kDayRecordSize;
    const std::size_t cut = size % orvane::kDayRecordSize ? 1 : 0;
    if (read.days.size() + read.refused.size() != records + cut) __builtin_trap();
    for (const orvane::ImportedDay& day : read.days)
        if (day.file != 1 || day.line < 1 || day.line > records) __builtin_trap();

    const std::size_t count = read.days.size();
    const orvane::SettledDays settled = orvane::settleDays(std::move(read.days), "2030-01-01");
    if (settled.bars.size() + settled.refused.size() != count) __builtin_trap();
    for (std::size_t i = 0; i < settled.bars.size(); ++i) {
        const orvane::DailyBar& day = settled.bars[i];
        if (!orvane::parseDate(day.date)) __builtin_trap();
        for (double v : {day.open, day.high, day.low, day.close, day.volume})
            if (!std::isfinite(v) || v < 0) __builtin_trap();
        if (orvane::impossibilityOf(day, "2030-01-01")) __builtin_trap();
        if (i > 0 && (day.date <= settled.bars[i - 1].date ||
                      orvane::impossibleMoveFrom(settled.bars[i - 1].close, day)))
            __builtin_trap();
    }
    return 0;
}
