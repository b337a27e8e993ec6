#include "orvane/market/UserText.h"

#include <cstdint>
#include <cstring>

#include "orvane/core/TextEncoding.h"

namespace orvane {

namespace {

// Most daily files are ASCII through and through: told eight bytes at a time.
bool isAscii(std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ull) return false;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) & 0x80) return false;
    return true;
}

}  // namespace

std::optional<std::string> userTextAsUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (isAscii(bytes) || isValidUtf8(bytes)) return std::string(bytes);
    return gb18030ToUtf8(bytes);
}

}  // namespace orvane
