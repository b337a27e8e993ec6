// Result files and history-text checks on arbitrary bytes.

#include <spdlog/spdlog.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/market/HistoryText.h"
#include "orvane/market/ResultFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (spdlog::set_level(spdlog::level::off), true);
    (void)quiet;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orvane::parseRetStockServerData(text, nullptr);
    orvane::parseRetStockHistordayData(text, nullptr);
    orvane::isValidRespondStr(text);
    orvane::getdateBefore5Day(text);
    return 0;
}
