#include "orvane/httpserver/ServeOptions.h"

namespace orvane::server {

namespace {

bool acceptableSegment(std::string_view segment) {
    if (segment == "." || segment == "..") return false;
    for (unsigned char c : segment) {
        if (c <= 0x20 || c == 0x7f || c == '?' || c == '#' || c == '%' || c == '\\') return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> normalizeBasePath(std::string_view base) {
    std::string out;
    std::size_t pos = 0;
    while (pos <= base.size()) {
        std::size_t end = base.find('/', pos);
        if (end == std::string_view::npos) end = base.size();
        std::string_view segment = base.substr(pos, end - pos);
        if (!segment.empty()) {
            if (!acceptableSegment(segment)) return std::nullopt;
            out.append("/").append(segment);
        }
        pos = end + 1;
    }
    return out;
}

}  // namespace orvane::server
