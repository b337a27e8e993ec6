#include "orvane/market/UserText.h"

#include "orvane/core/TextEncoding.h"

namespace orvane {

std::optional<std::string> userTextAsUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (isValidUtf8(bytes)) return std::string(bytes);
    return gb18030ToUtf8(bytes);
}

}  // namespace orvane
