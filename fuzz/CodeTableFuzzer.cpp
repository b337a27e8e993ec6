// The code-table reader (UTF-16 bytes, line and field separators) on
// arbitrary bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/core/TextSplit.h"
#include "orvane/market/CodeTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& e : orvane::parseCodeTable(bytes))
        if (orvane::utf16Length(e.code) != 6) __builtin_trap();
    return 0;
}
