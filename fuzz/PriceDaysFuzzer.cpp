// The back-test's reading of a history text on arbitrary bytes. A text it
// accepts gives one day a day line, on real dates, oldest first and strictly
// rising; one it refuses gives no days and says which line.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "PriceDays.h"
#include "orvane/core/HistoryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane::backtest;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const PriceRead read = readPriceDays(text);
    if (!read.error.empty()) {
        if (!read.days.empty() || read.error.rfind("line ", 0) != 0) __builtin_trap();
        return 0;
    }
    // The day lines are the elements after the header, up to the last that
    // is not empty.
    const auto elements = orvane::historyElements(text);
    std::size_t last = elements.size();
    while (last > 1 && elements[last - 1].empty()) --last;
    if (read.days.size() != last - 1) __builtin_trap();
    for (std::size_t i = 0; i < read.days.size(); ++i) {
        const PriceDay& day = read.days[i];
        if (dateKey(dateText(day.date)) != day.date) __builtin_trap();
        if (i > 0 && read.days[i - 1].date >= day.date) __builtin_trap();
        if (day.traded && !(day.open > 0 && day.low > 0 && day.close > 0)) __builtin_trap();
    }
    return 0;
}
