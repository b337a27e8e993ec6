// The market gain-list parser, both directions, on arbitrary text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/market/GainList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orvane::parseGainList(text, -1);
    orvane::parseGainList(text, 1);
    return 0;
}
