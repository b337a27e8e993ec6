// The day's results file: every line read is written back to the same line.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/market/DayResults.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const orvane::DayResultsRead read = orvane::parseDayResults(text);
    if (!read.error.empty()) return 0;
    const orvane::DayResultsRead again =
        orvane::parseDayResults(orvane::dayResultsText(read.results));
    if (!again.error.empty() || again.refusedLines != 0 ||
        again.results.size() != read.results.size())
        __builtin_trap();
    for (const orvane::DayResult& r : read.results) (void)orvane::factsOf(r, nullptr);
    return 0;
}
