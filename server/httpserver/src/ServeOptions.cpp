#include "orvane/httpserver/ServeOptions.h"

#include "PathSegments.h"

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
    for (std::string_view segment : pathSegments(base)) {
        if (!acceptableSegment(segment)) return std::nullopt;
        out.append("/").append(segment);
    }
    return out;
}

}  // namespace orvane::server
