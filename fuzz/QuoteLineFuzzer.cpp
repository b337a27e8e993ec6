// Quote-service answers on arbitrary bytes, decoded as the fetch layer does:
// one quote, several in one answer, and the data server's minutes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/core/TextEncoding.h"
#include "orvane/market/MinuteLines.h"
#include "orvane/market/QuoteBatch.h"
#include "orvane/market/QuoteLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvane::parseSinaData(bytes, "600000");
    orvane::parseMinuteAnswer(bytes);
    if (auto text = orvane::gb18030ToUtf8(bytes)) {
        orvane::parseSinaData(*text, "600000");
        orvane::parseQuoteAnswer(*text);
    }
    return 0;
}
