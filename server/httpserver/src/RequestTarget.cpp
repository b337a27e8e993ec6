#include "RequestTarget.h"

#include <algorithm>
#include <cctype>

namespace orvane::server {

namespace {

/// "http://" or "https://", in any case.
bool startsWithHttpScheme(std::string_view target) {
    const auto startsWith = [&](std::string_view scheme) {
        return target.size() >= scheme.size() &&
               std::equal(scheme.begin(), scheme.end(), target.begin(), [](char a, char b) {
                   return a == std::tolower(static_cast<unsigned char>(b));
               });
    };
    return startsWith("http://") || startsWith("https://");
}

}  // namespace

std::string_view originForm(std::string_view target) {
    if (!startsWithHttpScheme(target)) return target;
    const std::size_t authority = target.find("://") + 3;
    const std::size_t path = target.find_first_of("/?", authority);
    if (path == std::string_view::npos) return "/";
    if (target[path] == '?') return "/";  // "http://host?list=..." asks for the root
    return target.substr(path);
}

}  // namespace orvane::server
