#include "orvane/market/UserText.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>

#include "orvane/core/TextEncoding.h"

namespace orvane {

namespace {

// Whether the bytes are UTF-8. Daily files are mostly ASCII (a Chinese
// header aside), so ASCII is passed over eight bytes at a time and only the
// rest decoded, by ICU's checked decoder.
bool isUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto length = static_cast<std::int64_t>(bytes.size());
    std::int64_t i = 0;
    while (i < length) {
        if (i + 8 <= length) {
            std::uint64_t word;
            std::memcpy(&word, s + i, 8);
            if (!(word & 0x8080808080808080ull)) {
                i += 8;
                continue;
            }
        }
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> userTextAsUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (isUtf8(bytes)) return std::string(bytes);
    return gb18030ToUtf8(bytes);
}

bool makeUtf8(std::string& text) {
    if (isUtf8(text)) return true;
    auto converted = gb18030ToUtf8(text);
    if (!converted) return false;
    text = std::move(*converted);
    return true;
}

}  // namespace orvane
